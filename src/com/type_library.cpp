#include "com/type_library.h"

#include "com/com_error.h"
#include "com/server_module.h"
#include "com/tarnwell_registry.h"

namespace tarnwell::com {

Microsoft::WRL::ComPtr<ITypeLib> component_type_library() {
    Microsoft::WRL::ComPtr<ITypeLib> library;
    const HRESULT loaded = LoadTypeLibEx(module_file_name().c_str(), REGKIND_NONE, &library);
    if (FAILED(loaded)) throw com_error(loaded, L"The component's type library cannot be loaded");
    return library;
}

Microsoft::WRL::ComPtr<ITypeInfo> interface_type_info() {
    Microsoft::WRL::ComPtr<ITypeInfo> info;
    const HRESULT found =
        component_type_library()->GetTypeInfoOfGuid(IID__clsRegistryAccess, &info);
    if (FAILED(found)) throw com_error(found, L"The component's type library has no interface");
    return info;
}

}  // namespace tarnwell::com
