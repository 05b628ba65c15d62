#include "com/registry_access_object.h"

#include <optional>

#include <stdexcept>
#include "com/com_error.h"
#include "com/com_text.h"
#include "com/dispatch_arguments.h"
#include "com/dispatch_status_text.h"
#include "com/server_module.h"
#include "com/type_library.h"
#include "com/variant_args.h"

namespace tarnwell::com {

namespace {

VARIANT_BOOL vb_bool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// The place for an [out, retval] result; a client that passes none gets E_POINTER.
template <class T>
T& result_place(T* result) {
    if (result == nullptr) throw com_error(E_POINTER, L"Invalid pointer");
    return *result;
}

// Sets a text result from what `text` gives; a failure leaves the result null, as COM
// asks of an [out] text.
template <class Text>
void set_text_result(BSTR* result, Text&& text) {
    BSTR& place = result_place(result);
    place = nullptr;
    place = new_bstr(text());
}

template <class Text>
void set_text_result(BSTR* result, BSTR (*make)(const std::string&), Text&& text) {
    BSTR& place = result_place(result);
    place = nullptr;
    place = make(text());
}

}  // namespace

HRESULT RegistryAccessObject::create(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    HRESULT found = E_NOINTERFACE;
    const HRESULT made = guarded([&] {
        const Microsoft::WRL::ComPtr<RegistryAccessObject> created(
            new RegistryAccessObject(interface_type_info()));
        found = created->QueryInterface(iid, object);
    });
    return FAILED(made) ? made : found;
}

RegistryAccessObject::RegistryAccessObject(Microsoft::WRL::ComPtr<ITypeInfo> type_info)
    : type_info_(std::move(type_info)) {
    object_created();
}

RegistryAccessObject::~RegistryAccessObject() { object_destroyed(); }

HRESULT RegistryAccessObject::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__clsRegistryAccess) {
        *object = static_cast<_clsRegistryAccess*>(this);
    } else if (iid == IID_ISupportErrorInfo) {
        *object = static_cast<ISupportErrorInfo*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG RegistryAccessObject::AddRef() { return ++references_; }

ULONG RegistryAccessObject::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT RegistryAccessObject::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT RegistryAccessObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return type_info_.CopyTo(info);
}

HRESULT RegistryAccessObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return DispGetIDsOfNames(type_info_.Get(), names, count, ids);
}

HRESULT RegistryAccessObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* bad_argument) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    HRESULT dispatched = S_OK;
    // Adapting the arguments may run out of memory, which must not leave the call.
    const HRESULT adapted = guarded([&] {
        ByValueArguments arguments(*type_info_.Get(), id, flags, parameters);
        dispatched = type_info_->Invoke(static_cast<_clsRegistryAccess*>(this), id, flags,
                                        arguments.parameters(), result, exception, bad_argument);
    });
    return FAILED(adapted) ? adapted : dispatched;
}

HRESULT RegistryAccessObject::InterfaceSupportsErrorInfo(REFIID iid) {
    return iid == IID__clsRegistryAccess ? S_OK : S_FALSE;
}

HRESULT RegistryAccessObject::put_CreateKeyIfDoesntExists(VARIANT_BOOL offon) {
    return guarded([&] { access_.set_CreateKeyIfDoesntExists(offon != VARIANT_FALSE); });
}

HRESULT RegistryAccessObject::get_CreateKeyIfDoesntExists(VARIANT_BOOL* result) {
    return guarded([&] { result_place(result) = vb_bool(access_.CreateKeyIfDoesntExists()); });
}

HRESULT RegistryAccessObject::CreateKey(BSTR sPath, LONG* result) {
    return guarded([&] { result_place(result) = access_.CreateKey(utf8_name(sPath)); });
}

HRESULT RegistryAccessObject::KillKey(BSTR sPath, LONG* result) {
    return guarded([&] { result_place(result) = access_.KillKey(utf8_name(sPath)); });
}

HRESULT RegistryAccessObject::KeyExists(BSTR sPath, VARIANT_BOOL* result) {
    return guarded([&] { result_place(result) = vb_bool(access_.KeyExists(utf8_name(sPath))); });
}

HRESULT RegistryAccessObject::EnumKeys(BSTR sPath, VARIANT* Key, LONG* result) {
    return guarded([&] {
        LONG& count = result_place(result);
        std::vector<std::string> names;
        count = access_.EnumKeys(utf8_name(sPath), names);
        // The array is emptied even when the key cannot be opened.
        put_array(Key, variant_array(names));
    });
}

HRESULT RegistryAccessObject::HaveSubkey(BSTR sPath, VARIANT_BOOL* result) {
    return guarded([&] { result_place(result) = vb_bool(access_.HaveSubkey(utf8_name(sPath))); });
}

HRESULT RegistryAccessObject::WriteString(BSTR sPath, BSTR sName, BSTR sValue, LONG* result) {
    return guarded([&] {
        result_place(result) =
            access_.WriteString(utf8_name(sPath), utf8_name(sName), utf8_text(sValue));
    });
}

HRESULT RegistryAccessObject::ReadString(BSTR sPath, BSTR sName, BSTR sDefault, BSTR* result) {
    return guarded([&] {
        set_text_result(result, [&] {
            return access_.ReadString(utf8_name(sPath), utf8_name(sName), utf8_text(sDefault));
        });
    });
}

HRESULT RegistryAccessObject::WriteDWORD(BSTR sPath, BSTR sName, LONG lValue, LONG* result) {
    return guarded([&] {
        result_place(result) = access_.WriteDWORD(utf8_name(sPath), utf8_name(sName), lValue);
    });
}

HRESULT RegistryAccessObject::ReadDWORD(BSTR sPath, BSTR sName, LONG lDefault, LONG* result) {
    return guarded([&] {
        result_place(result) = access_.ReadDWORD(utf8_name(sPath), utf8_name(sName), lDefault);
    });
}

HRESULT RegistryAccessObject::WriteBinary(BSTR sPath, BSTR sName, BSTR sValue, LONG* result) {
    return guarded([&] {
        result_place(result) =
            access_.WriteBinary(utf8_name(sPath), utf8_name(sName), utf8_text(sValue));
    });
}

HRESULT RegistryAccessObject::ReadBinary(BSTR sPath, BSTR sName, BSTR sDefault, BSTR* result) {
    return guarded([&] {
        set_text_result(result, [&] {
            return access_.ReadBinary(utf8_name(sPath), utf8_name(sName), utf8_text(sDefault));
        });
    });
}

HRESULT RegistryAccessObject::KillValue(BSTR sPath, BSTR sName, LONG* result) {
    return guarded(
        [&] { result_place(result) = access_.KillValue(utf8_name(sPath), utf8_name(sName)); });
}

HRESULT RegistryAccessObject::ValueExists(BSTR sPath, BSTR sName, VARIANT_BOOL* result) {
    return guarded([&] {
        result_place(result) = vb_bool(access_.ValueExists(utf8_name(sPath), utf8_name(sName)));
    });
}

HRESULT RegistryAccessObject::EnumValues(BSTR sPath, VARIANT* sName, VARIANT* sValue, LONG OnlyType,
                                         LONG* result) {
    return guarded([&] {
        LONG& count = result_place(result);
        std::vector<std::string> names;
        std::vector<RegValue> values;
        count = access_.EnumValues(utf8_name(sPath), names, values, OnlyType);
        // A key that cannot be opened leaves the caller's arrays as they were.
        if (count == -1) return;
        put_array(sName, variant_array(names));
        put_array(sValue, variant_array(values));
    });
}

HRESULT RegistryAccessObject::ExportToReg(BSTR sPath, BSTR sRegFile, VARIANT_BOOL IncludeSubkeys,
                                          VARIANT Output, LONG* result) {
    return guarded([&] {
        LONG& written = result_place(result);
        std::optional<DispatchStatusText> status;
        if (auto object = optional_object(Output)) status.emplace(std::move(object));
        written = access_.ExportToReg(utf8_name(sPath), utf8_name(sRegFile),
                                      IncludeSubkeys != VARIANT_FALSE, status ? &*status : nullptr);
    });
}

HRESULT RegistryAccessObject::ImportFromReg(BSTR sRegFile, LONG* result) {
    return guarded([&] { result_place(result) = access_.ImportFromReg(utf8_name(sRegFile)); });
}

HRESULT RegistryAccessObject::StrToBin(VARIANT* sBin, BSTR* result) {
    return guarded([&] {
        // The result is byte text: one character for each byte, in the ANSI code page.
        set_text_result(result, new_byte_bstr, [&] {
            std::string hex = text_of(sBin);
            std::string bytes;
            try {
                bytes = access_.StrToBin(hex);
            } catch (const std::overflow_error&) {
                // The class rewrites the caller's text before it raises its overflow.
                put_text(sBin, hex);
                throw;
            }
            put_text(sBin, hex);
            return bytes;
        });
    });
}

HRESULT RegistryAccessObject::BinToStr(BSTR sStr, BSTR* result) {
    return guarded(
        [&] { set_text_result(result, [&] { return access_.BinToStr(byte_text(sStr)); }); });
}

HRESULT RegistryAccessObject::isBinValid(BSTR sBin, VARIANT_BOOL* result) {
    return guarded([&] { result_place(result) = vb_bool(access_.isBinValid(utf8_text(sBin))); });
}

}  // namespace tarnwell::com
