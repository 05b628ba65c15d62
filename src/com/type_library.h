#pragma once
// The component's type library, read from the DLL's own TYPELIB resource: it drives
// IDispatch (names, IDs, argument types) and names the library and the interface in
// the registration.
#include "windows_api/windows_api.h"
#include <ole2.h>
#include <wrl/client.h>

namespace tarnwell::com {

// Both raise com_error when the library cannot be loaded.
Microsoft::WRL::ComPtr<ITypeLib> component_type_library();
Microsoft::WRL::ComPtr<ITypeInfo> interface_type_info();

}  // namespace tarnwell::com
