#include "com/dispatch_status_text.h"

#include <dispex.h>

#include <new>

#include "com/com_error.h"
#include "com/com_text.h"
#include "platform/run_time_error.h"

namespace tarnwell::com {

namespace {

std::string failure_text(HRESULT code, EXCEPINFO& exception) {
    if (code == DISP_E_EXCEPTION && exception.pfnDeferredFillIn != nullptr)
        exception.pfnDeferredFillIn(&exception);
    std::string text = "Setting the Text property failed";
    if (code == DISP_E_EXCEPTION && exception.bstrDescription != nullptr) {
        try {
            text += ": " + ansi_text(exception.bstrDescription);
        } catch (const com_error&) {
        }
    }
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    return text;
}

}  // namespace

DispatchStatusText::DispatchStatusText(Microsoft::WRL::ComPtr<IDispatch> target)
    : target_(std::move(target)) {}

void DispatchStatusText::set_text(const std::string& text) {
    // Script objects (a VBScript class, a JScript object) are IDispatchEx objects and
    // may answer names only through it.
    Microsoft::WRL::ComPtr<IDispatchEx> script_object;
    target_.As(&script_object);
    if (text_id_ == DISPID_UNKNOWN) {
        BSTR name = SysAllocString(L"Text");
        if (name == nullptr) throw std::bad_alloc();
        const HRESULT found =
            script_object
                ? script_object->GetDispID(name, fdexNameCaseInsensitive, &text_id_)
                : target_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &text_id_);
        SysFreeString(name);
        if (FAILED(found)) {
            text_id_ = DISPID_UNKNOWN;
            throw run_time_error("Object doesn't support this property or method");
        }
    }
    VARIANT argument;
    VariantInit(&argument);
    V_BSTR(&argument) = new_bstr(text);
    V_VT(&argument) = VT_BSTR;
    DISPID put_id = DISPID_PROPERTYPUT;
    DISPPARAMS parameters = {&argument, &put_id, 1, 1};
    EXCEPINFO exception = {};
    UINT bad_argument = 0;
    const HRESULT set =
        script_object
            ? script_object->InvokeEx(text_id_, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                      &parameters, nullptr, &exception, nullptr)
            : target_->Invoke(text_id_, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                              &parameters, nullptr, &exception, &bad_argument);
    VariantClear(&argument);
    if (FAILED(set)) throw run_time_error(failure_text(set, exception));
}

}  // namespace tarnwell::com
