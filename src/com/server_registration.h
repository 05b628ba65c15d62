#pragma once
// The component's registration: its class, ProgID, type library and interface under a
// classes root, machine-wide (HKLM\Software\Classes, what HKEY_CLASSES_ROOT shows) or
// for the current user only (HKCU\Software\Classes, no administrator rights needed).
#include "windows_api/windows_api.h"
#include <ole2.h>

namespace tarnwell::com {

enum class RegistrationScope { machine, user };

// Writes the registration; when a write fails, removes it again and returns
// SELFREG_E_CLASS.
HRESULT register_server(RegistrationScope scope);

// Removes the values the registration writes and then each of its keys that is left
// empty; whatever else a key holds stays, and so do the ProgID and type library values
// while the other architecture's build is registered in the other registry view.
// SELFREG_E_CLASS when a value could not be removed.
HRESULT unregister_server(RegistrationScope scope);

}  // namespace tarnwell::com
