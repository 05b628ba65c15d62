#pragma once
// What the component's tests share: the DLL loaded from beside the test program (as a
// client would load it, but without registration), BSTR and VARIANT arguments freed by
// the program's own owners, and a late-bound call by member name as a script host
// makes it.
#include <gtest/gtest.h>
#include "windows_api/windows_api.h"
#include <ole2.h>
#include <wrl/client.h>

#include <algorithm>
#include <string>
#include <vector>

#include "com/tarnwell_registry.h"
#include "platform/win32/owned.h"

namespace tarnwell::test {

using Microsoft::WRL::ComPtr;

// A BSTR argument.
struct Bstr : OwnedBstr {
    explicit Bstr(const std::wstring& text)
        : OwnedBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    operator BSTR() const { return get(); }
};

// A VARIANT argument or result, cleared when it goes. (The text constructors keep a
// literal from taking the bool one.)
struct Variant : VARIANT {
    Variant() { VariantInit(this); }
    explicit Variant(const std::wstring& text) : Variant() {
        V_VT(this) = VT_BSTR;
        V_BSTR(this) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    explicit Variant(const wchar_t* text) : Variant(std::wstring(text)) {}
    explicit Variant(long number) : Variant() {
        V_VT(this) = VT_I4;
        V_I4(this) = number;
    }
    explicit Variant(bool flag) : Variant() {
        V_VT(this) = VT_BOOL;
        V_BOOL(this) = flag ? VARIANT_TRUE : VARIANT_FALSE;
    }
    // An object, or Nothing; the Variant holds a reference of its own.
    explicit Variant(IDispatch* object) : Variant() {
        V_VT(this) = VT_DISPATCH;
        V_DISPATCH(this) = object;
        if (object) object->AddRef();
    }
    ~Variant() { OwnedVariant::clear(*this); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

// A VARIANT that refers to a variable of the caller's, as VB passes its variables by
// reference: `type` is the variable's own type. Script engines pass theirs as
// references to Variants.
inline VARIANT reference_to(VARTYPE type, void* variable) {
    VARIANT reference;
    VariantInit(&reference);
    V_VT(&reference) = VT_BYREF | type;
    V_BYREF(&reference) = variable;
    return reference;
}
inline VARIANT reference_to(VARIANT& variable) { return reference_to(VT_VARIANT, &variable); }

// The component DLL beside the test program, loaded and asked for its class object.
class ComponentDll {
public:
    ComponentDll() {
        wchar_t path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring folder(path, length);
        path_ = folder.substr(0, folder.find_last_of(L'\\') + 1) + L"TarnwellRegistry.dll";
        module_.reset(LoadLibraryW(path_.c_str()));
    }

    bool loaded() const { return module_.valid(); }
    const std::wstring& path() const { return path_; }
    HMODULE module() const { return module_.get(); }

    template <class Function>
    Function* function(const char* name) const {
        return reinterpret_cast<Function*>(
            reinterpret_cast<void*>(GetProcAddress(module_.get(), name)));
    }
    HRESULT class_object(REFCLSID clsid, ComPtr<IClassFactory>& factory) const {
        using GetClassObject = HRESULT STDAPICALLTYPE(REFCLSID, REFIID, void**);
        return function<GetClassObject>("DllGetClassObject")(
            clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.ReleaseAndGetAddressOf()));
    }
    HRESULT can_unload_now() const {
        using CanUnloadNow = HRESULT STDAPICALLTYPE();
        return function<CanUnloadNow>("DllCanUnloadNow")();
    }
    ComPtr<_clsRegistryAccess> new_object() const {
        ComPtr<IClassFactory> factory;
        ComPtr<_clsRegistryAccess> object;
        if (SUCCEEDED(class_object(CLSID_clsRegistryAccess, factory)))
            factory->CreateInstance(nullptr, IID__clsRegistryAccess,
                                    reinterpret_cast<void**>(object.GetAddressOf()));
        return object;
    }

private:
    std::wstring path_;
    OwnedModule module_;
};

// One late-bound call: the member looked up by name, the arguments given in their
// natural order (IDispatch takes them last first).
struct Invocation {
    HRESULT code = E_FAIL;
    Variant result;
    EXCEPINFO exception = {};
    // The texts the call put in `exception`, which are the caller's to free.
    OwnedBstr exception_texts[3];
    std::wstring description() const {
        return exception.bstrDescription ? exception.bstrDescription : L"";
    }
};

// `arguments` are shallow copies: their owners keep their contents for the whole call.
inline void invoke(IDispatch& object, const wchar_t* member, Invocation& call,
                   std::vector<VARIANT> arguments) {
    LPOLESTR name = const_cast<LPOLESTR>(member);
    DISPID id = DISPID_UNKNOWN;
    call.code = object.GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(call.code)) return;
    std::reverse(arguments.begin(), arguments.end());
    DISPPARAMS parameters = {arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    UINT bad_argument = 0;
    call.code =
        object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                      &parameters, &call.result, &call.exception, &bad_argument);
    call.exception_texts[0].reset(call.exception.bstrDescription);
    call.exception_texts[1].reset(call.exception.bstrSource);
    call.exception_texts[2].reset(call.exception.bstrHelpFile);
}

// COM for the calling thread, in a single-threaded apartment, as a VB client has it.
class ComApartment : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(dll.loaded()) << "TarnwellRegistry.dll is not beside the test program";
    }
    void TearDown() override { CoUninitialize(); }

    ComponentDll dll;
};

}  // namespace tarnwell::test
