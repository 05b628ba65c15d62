#pragma once
// A stand-in for a VB text box: an IDispatch object with a settable Text property that
// records every text it is given. It can refuse texts, or lack the property, to show
// what the export does then. Owned by the test; COM references do not end its life.
#include "windows_api/windows_api.h"
#include <ole2.h>

#include <string>
#include <vector>

namespace tarnwell::test {

class StatusBox : public IDispatch {
public:
    enum class Kind { text_box, refusing_box, no_text_property };
    explicit StatusBox(Kind kind = Kind::text_box) : kind_(kind) {}
    virtual ~StatusBox() = default;

    std::vector<std::wstring> shown;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid != IID_IUnknown && iid != IID_IDispatch) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IDispatch*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (kind_ == Kind::no_text_property || count != 1 || _wcsicmp(names[0], L"Text") != 0) {
            ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = text_id;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT*, EXCEPINFO* exception, UINT*) override {
        if (id != text_id || !(flags & DISPATCH_PROPERTYPUT)) return DISP_E_MEMBERNOTFOUND;
        if (parameters->cArgs != 1 || parameters->cNamedArgs != 1 ||
            parameters->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT ||
            V_VT(&parameters->rgvarg[0]) != VT_BSTR)
            return DISP_E_BADPARAMCOUNT;
        if (kind_ == Kind::refusing_box) {
            *exception = {};
            exception->scode = E_ACCESSDENIED;
            exception->bstrDescription = SysAllocString(L"The box is read-only");
            return DISP_E_EXCEPTION;
        }
        shown.emplace_back(V_BSTR(&parameters->rgvarg[0]));
        return S_OK;
    }

private:
    static constexpr DISPID text_id = 7;
    Kind kind_;
};

}  // namespace tarnwell::test
