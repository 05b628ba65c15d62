#include "com/server_registration.h"

#include "windows_api/windows_api.h"
#include <olectl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "com/com_error.h"
#include "com/com_text.h"
#include "com/server_module.h"
#include "com/tarnwell_registry.h"
#include "com/type_library.h"
#include "platform/system_platform.h"
#include "platform/win32/owned.h"
#include "registry_access/clsRegistryAccess.h"

namespace tarnwell::com {

namespace {

// One value of the registration: key below the classes root, value name ("" for the
// key's default value), text, and whether the key is one that the 32-bit and the 64-bit
// builds of the component share on 64-bit Windows. Windows keeps the class and interface
// keys apart, one copy in each registry view, but the ProgID and type library keys are
// the same for both (the type library's version key holds a win32 and a win64 subkey).
struct RegistrationValue {
    std::string key;
    std::string name;
    std::string data;
    bool shared = false;
};

// The proxy of every dual interface: the type library marshaler of oleaut32.
constexpr const char* dispatch_proxy = "{00020424-0000-0000-C000-000000000046}";

std::string guid_text(REFGUID guid) {
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return utf8_text(text, 38);
}

// One text of the type library's documentation; `read` fills in the BSTR.
template <class Read>
std::string documentation(Read&& read) {
    OwnedBstr text;
    if (FAILED(read(text.put())))
        throw com_error(E_FAIL, L"The component's type library cannot be read");
    return utf8_text(text.get());
}

std::vector<RegistrationValue> registration_values() {
    const auto library = component_type_library();
    OwnedLibAttr attributes(*library.Get());
    if (FAILED(library->GetLibAttr(attributes.put())))
        throw com_error(E_FAIL, L"The component's type library cannot be read");
    const std::string version =
        std::to_string(attributes->wMajorVerNum) + "." + std::to_string(attributes->wMinorVerNum);
    const std::string library_help = documentation(
        [&](BSTR* text) { return library->GetDocumentation(-1, nullptr, text, nullptr, nullptr); });
    const auto interface_info = interface_type_info();
    const std::string interface_name = documentation([&](BSTR* text) {
        return interface_info->GetDocumentation(MEMBERID_NIL, text, nullptr, nullptr, nullptr);
    });

    const std::string dll = utf8_text(module_file_name());
    const std::string folder = dll.substr(0, dll.find_last_of('\\'));
    const std::string progid = TARNWELL_REGISTRY_PROGID;
    const std::string clsid = guid_text(CLSID_clsRegistryAccess);
    const std::string libid = guid_text(LIBID_TarnwellRegistry);
    const std::string class_key = "CLSID\\" + clsid;
    const std::string library_key = "TypeLib\\" + libid + "\\" + version;
    const std::string interface_key = "Interface\\" + guid_text(IID__clsRegistryAccess);
    const char* platform = sizeof(void*) == 8 ? "win64" : "win32";
    return {
        {class_key, "", progid},
        {class_key + "\\InprocServer32", "", dll},
        // The object is not thread-safe: COM calls it on the thread that created it.
        {class_key + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {class_key + "\\ProgID", "", progid},
        {class_key + "\\TypeLib", "", libid},
        {class_key + "\\VERSION", "", version},
        {progid, "", progid, true},
        {progid + "\\CLSID", "", clsid, true},
        {library_key, "", library_help, true},
        // In the shared version key, but this architecture's alone.
        {library_key + "\\0\\" + platform, "", dll},
        {library_key + "\\FLAGS", "", "0", true},
        {library_key + "\\HELPDIR", "", folder, true},
        {interface_key, "", interface_name},
        {interface_key + "\\ProxyStubClsid", "", dispatch_proxy},
        {interface_key + "\\ProxyStubClsid32", "", dispatch_proxy},
        {interface_key + "\\TypeLib", "", libid},
        {interface_key + "\\TypeLib", "Version", version},
    };
}

std::string classes_root(RegistrationScope scope) {
    return scope == RegistrationScope::machine ? "HKLM\\Software\\Classes\\"
                                               : "HKCU\\Software\\Classes\\";
}

// Every key the registration writes to and each of its parents below the classes
// root, the deepest first, so that a parent is looked at after its subkeys.
std::vector<std::string> keys_deepest_first(const std::vector<RegistrationValue>& values) {
    std::vector<std::string> keys;
    for (const RegistrationValue& value : values) {
        for (std::string key = value.key; !key.empty();) {
            keys.push_back(key);
            const std::size_t last = key.find_last_of('\\');
            key = last == std::string::npos ? std::string() : key.substr(0, last);
        }
    }
    const auto depth = [](const std::string& key) {
        return std::count(key.begin(), key.end(), '\\');
    };
    std::sort(keys.begin(), keys.end(), [&](const std::string& a, const std::string& b) {
        return depth(a) != depth(b) ? depth(a) > depth(b) : a < b;
    });
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

bool is_empty_key(clsRegistryAccess& access, const std::string& path) {
    std::vector<std::string> names;
    std::vector<RegValue> values;
    return !access.HaveSubkey(path) && access.EnumValues(path, names, values, -1) == 0;
}

// Whether the component's class is registered in the other registry view of the
// scope's classes root: by the other architecture's build of this DLL, on 64-bit
// Windows. 32-bit Windows has one registry, which both views show, so there the answer
// is this view's.
bool registered_in_other_view(Platform& platform, RegistrationScope scope) {
    const RegistryView other = sizeof(void*) == 8 ? RegistryView::bits32 : RegistryView::bits64;
    clsRegistryAccess access(registry_in(platform, other), platform.files, platform.desktop);
    const std::string server = "CLSID\\" + guid_text(CLSID_clsRegistryAccess) + "\\InprocServer32";
    return access.ValueExists(classes_root(scope) + server, "");
}

// Removes the registration's values, then each of its keys left empty. The values in
// shared keys stay while the other architecture's build is registered in the other view,
// which still needs them; the other view is looked at once this view's class is gone,
// so that where there is one view the last registration takes everything. Returns
// whether the shared values stayed.
bool remove_registration(Platform& platform, clsRegistryAccess& access, RegistrationScope scope,
                         const std::vector<RegistrationValue>& values) {
    const std::string root = classes_root(scope);
    for (const RegistrationValue& value : values) {
        if (!value.shared) access.KillValue(root + value.key, value.name);
    }
    const bool keep_shared = registered_in_other_view(platform, scope);
    for (const RegistrationValue& value : values) {
        if (value.shared && !keep_shared) access.KillValue(root + value.key, value.name);
    }
    for (const std::string& key : keys_deepest_first(values)) {
        if (is_empty_key(access, root + key)) access.KillKey(root + key);
    }
    return keep_shared;
}

}  // namespace

HRESULT register_server(RegistrationScope scope) {
    HRESULT result = S_OK;
    const HRESULT status = guarded([&] {
        const std::vector<RegistrationValue> values = registration_values();
        const std::string root = classes_root(scope);
        SystemPlatform system;
        Platform& platform = system.platform();
        clsRegistryAccess access(platform.registry, platform.files, platform.desktop);
        for (const RegistrationValue& value : values) {
            if (access.WriteString(root + value.key, value.name, value.data) == 0) {
                remove_registration(platform, access, scope, values);
                result = SELFREG_E_CLASS;
                return;
            }
        }
    });
    return FAILED(status) ? status : result;
}

HRESULT unregister_server(RegistrationScope scope) {
    HRESULT result = S_OK;
    const HRESULT status = guarded([&] {
        const std::vector<RegistrationValue> values = registration_values();
        const std::string root = classes_root(scope);
        SystemPlatform system;
        Platform& platform = system.platform();
        clsRegistryAccess access(platform.registry, platform.files, platform.desktop);
        const bool kept_shared = remove_registration(platform, access, scope, values);
        for (const RegistrationValue& value : values) {
            if (value.shared && kept_shared) continue;
            if (access.ValueExists(root + value.key, value.name)) result = SELFREG_E_CLASS;
        }
    });
    return FAILED(status) ? status : result;
}

}  // namespace tarnwell::com
