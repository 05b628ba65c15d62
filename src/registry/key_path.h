#pragma once
// Key path notation: "HKCU\Software\T", "HKEY_LOCAL_MACHINE\SOFTWARE",
// "\HKEY_CURRENT_USER\Software": a root name (long or the four-letter abbreviation, in
// any letter case, after at most one leading backslash), then a backslash and the
// subkey, or the end.
#include <string>

#include "common/status.h"
#include "platform/registry_api.h"

namespace tarnwell {

// A key path split into its predefined root and the subkey below it ("" for the root
// itself).
struct KeyPath {
    reg_key root = 0;
    std::string sub_key;
};

// A predefined root's two names.
struct RootName {
    const char* long_name;
    const char* abbreviation;
    reg_key key;
};

// The known roots, current user first.
constexpr RootName root_names[] = {
    {"HKEY_CURRENT_USER", "HKCU", reg::current_user},
    {"HKEY_LOCAL_MACHINE", "HKLM", reg::local_machine},
    {"HKEY_CLASSES_ROOT", "HKCR", reg::classes_root},
    {"HKEY_USERS", "HKUS", reg::users},
    {"HKEY_PERFORMANCE_DATA", "HKPD", reg::performance_data},
    {"HKEY_DYN_DATA", "HKDD", reg::dyn_data},
    {"HKEY_CURRENT_CONFIG", "HKCC", reg::current_config},
};

// Reads a key path strictly: its root is one of the known names standing whole, up to
// the first backslash or the end; the subkey is everything after that backslash,
// unchanged. Any other root ("HKCUTools\Foo", "HKEY_CURRENT_USERX\Foo", "\\HKCU",
// "") is an "unknown root" failure that names the root as given.
Result<KeyPath> read_key_path(const std::string& path);

// How a caller reads the key paths it is given; the import takes one for its key lines.
using KeyPathReading = Result<KeyPath> (*)(const std::string& path);

// The path with an abbreviated root written out in full ("hkcu\Software" gives
// "HKEY_CURRENT_USER\Software", "\HKCU" gives "\HKEY_CURRENT_USER"). A long root, the
// subkey and a path that read_key_path refuses come back as they are.
std::string with_long_root(const std::string& path);

// reg.exe also takes HKU for HKEY_USERS. The path with such a root (after at most one
// leading backslash, up to the next backslash or the end, in any letter case) written
// HKEY_USERS; any other path as it is.
std::string with_reg_exe_root(const std::string& path);
// read_key_path of that: the reading of key paths given to a command.
Result<KeyPath> read_command_key_path(const std::string& path);

// The path of a root (0 for none) and a subkey, with the root's long name:
// "HKEY_CURRENT_USER\Software", "HKEY_LOCAL_MACHINE" for a root alone.
std::string long_key_path(const KeyPath& path);

}  // namespace tarnwell
