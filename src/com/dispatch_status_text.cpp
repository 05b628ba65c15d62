#include "com/dispatch_status_text.h"

#include "windows_api/windows_api.h"
#include <dispex.h>

#include <new>

#include "com/com_error.h"
#include "com/com_text.h"
#include "platform/win32/owned.h"

namespace tarnwell::com {

namespace {

// What the object said when it refused the text; the texts of its EXCEPINFO are ours
// to free.
Status refused(HRESULT code, EXCEPINFO& exception) {
    if (code == DISP_E_EXCEPTION && exception.pfnDeferredFillIn != nullptr)
        exception.pfnDeferredFillIn(&exception);
    const OwnedBstr description(exception.bstrDescription);
    const OwnedBstr source(exception.bstrSource);
    const OwnedBstr help_file(exception.bstrHelpFile);
    std::string text = "Setting the Text property failed";
    if (code == DISP_E_EXCEPTION && description) {
        try {
            text += ": " + utf8_text(description.get());
        } catch (const com_error&) {
        }
    }
    return Status(code, text);
}

}  // namespace

DispatchStatusText::DispatchStatusText(Microsoft::WRL::ComPtr<IDispatch> target)
    : target_(std::move(target)) {}

Status DispatchStatusText::set_text(const std::string& text) {
    // Script objects (a VBScript class, a JScript object) are IDispatchEx objects and
    // may answer names only through it.
    Microsoft::WRL::ComPtr<IDispatchEx> script_object;
    target_.As(&script_object);
    if (text_id_ == DISPID_UNKNOWN) {
        OwnedBstr name(SysAllocString(L"Text"));
        if (!name) throw std::bad_alloc();
        BSTR names[] = {name.get()};
        const HRESULT found =
            script_object
                ? script_object->GetDispID(name.get(), fdexNameCaseInsensitive, &text_id_)
                : target_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &text_id_);
        if (FAILED(found)) {
            text_id_ = DISPID_UNKNOWN;
            return Status(found, "Object doesn't support this property or method");
        }
    }
    OwnedVariant argument;
    V_BSTR(argument.get()) = new_bstr(text);
    V_VT(argument.get()) = VT_BSTR;
    DISPID put_id = DISPID_PROPERTYPUT;
    DISPPARAMS parameters = {argument.get(), &put_id, 1, 1};
    EXCEPINFO exception = {};
    UINT bad_argument = 0;
    const HRESULT set =
        script_object
            ? script_object->InvokeEx(text_id_, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                      &parameters, nullptr, &exception, nullptr)
            : target_->Invoke(text_id_, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                              &parameters, nullptr, &exception, &bad_argument);
    if (FAILED(set)) return refused(set, exception);
    return Status();
}

}  // namespace tarnwell::com
