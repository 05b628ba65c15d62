#include "com/com_error.h"

#include "windows_api/windows_api.h"
#include <wrl/client.h>

#include "com/com_text.h"
#include "com/tarnwell_registry.h"

namespace tarnwell::com {

HRESULT report(const com_error& error) {
    Microsoft::WRL::ComPtr<ICreateErrorInfo> created;
    if (SUCCEEDED(CreateErrorInfo(&created))) {
        created->SetGUID(IID__clsRegistryAccess);
        created->SetSource(const_cast<LPOLESTR>(L"" TARNWELL_REGISTRY_PROGID));
        created->SetDescription(const_cast<LPOLESTR>(error.description().c_str()));
        Microsoft::WRL::ComPtr<IErrorInfo> info;
        if (SUCCEEDED(created.As(&info))) SetErrorInfo(0, info.Get());
    }
    return error.code();
}

HRESULT report_unexpected(const std::exception& error) {
    return report(com_error(E_FAIL, wide(error.what())));
}

}  // namespace tarnwell::com
