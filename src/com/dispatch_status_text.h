#pragma once
// The export's status text for a COM client: any object with a settable Text property
// (a VB text box, a script's own object), set through IDispatch.
#include "windows_api/windows_api.h"
#include <ole2.h>
#include <wrl/client.h>

#include "registry_access/clsRegistryAccess.h"

namespace tarnwell::com {

class DispatchStatusText : public StatusText {
public:
    explicit DispatchStatusText(Microsoft::WRL::ComPtr<IDispatch> target);
    // Fails when the object has no Text property or refuses the text; the export then
    // stops and returns 0.
    Status set_text(const std::string& text) override;

private:
    Microsoft::WRL::ComPtr<IDispatch> target_;
    DISPID text_id_ = DISPID_UNKNOWN;
};

}  // namespace tarnwell::com
