// The functions COM and regsvr32 call in the DLL, exported by name through the .def
// file.
#include "windows_api/windows_api.h"
#include <olectl.h>

#include <cwctype>
#include <string>

#include "com/class_factory.h"
#include "com/server_module.h"
#include "com/server_registration.h"
#include "com/tarnwell_registry.h"

using tarnwell::com::RegistrationScope;

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (clsid != CLSID_clsRegistryAccess) return CLASS_E_CLASSNOTAVAILABLE;
    return tarnwell::com::class_factory().QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow() { return tarnwell::com::can_unload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return tarnwell::com::register_server(RegistrationScope::machine); }

STDAPI DllUnregisterServer() {
    return tarnwell::com::unregister_server(RegistrationScope::machine);
}

// regsvr32 /i:ARG (with /n, without DllRegisterServer) and /u /i:ARG: "user" registers
// for the current user only, "machine" or nothing machine-wide.
STDAPI DllInstall(BOOL install, LPCWSTR command_line) {
    std::wstring scope = command_line != nullptr ? command_line : L"";
    for (wchar_t& c : scope)
        c = static_cast<wchar_t>(std::towlower(c));
    RegistrationScope chosen;
    if (scope == L"user")
        chosen = RegistrationScope::user;
    else if (scope.empty() || scope == L"machine")
        chosen = RegistrationScope::machine;
    else
        return E_INVALIDARG;
    return install ? tarnwell::com::register_server(chosen)
                   : tarnwell::com::unregister_server(chosen);
}
