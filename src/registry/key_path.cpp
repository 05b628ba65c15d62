#include "registry/key_path.h"

#include "common/text.h"

namespace tarnwell {

namespace {

struct RootName {
    const char* long_name;
    const char* abbreviation;
    reg_key key;
};

constexpr RootName roots[] = {
    {"HKEY_CURRENT_USER", "HKCU", reg::current_user},
    {"HKEY_LOCAL_MACHINE", "HKLM", reg::local_machine},
    {"HKEY_CLASSES_ROOT", "HKCR", reg::classes_root},
    {"HKEY_USERS", "HKUS", reg::users},
    {"HKEY_PERFORMANCE_DATA", "HKPD", reg::performance_data},
    {"HKEY_DYN_DATA", "HKDD", reg::dyn_data},
    {"HKEY_CURRENT_CONFIG", "HKCC", reg::current_config},
};

}  // namespace

KeyPath split_key_path(const std::string& given) {
    // A long root name counts only where it stands as the root: a key further down
    // may carry such a name as its own and must be reached under it.
    std::string path = given;
    const std::size_t start = !path.empty() && path[0] == '\\' ? 1 : 0;
    for (const RootName& root : roots) {
        if (starts_with_ignoring_case(std::string_view(path).substr(start), root.long_name)) {
            path.replace(0, start + std::char_traits<char>::length(root.long_name),
                         root.abbreviation);
            break;
        }
    }
    KeyPath split;
    const std::size_t backslash = path.find('\\');
    const std::string root_text = upper(backslash != std::string::npos ? path.substr(0, 4) : path);
    if (backslash != std::string::npos) split.sub_key = path.substr(backslash + 1);
    for (const RootName& root : roots)
        if (root_text == root.abbreviation) split.root = root.key;
    return split;
}

std::string with_long_root(const std::string& path) {
    const std::size_t at = !path.empty() && path[0] == '\\' ? 1 : 0;
    if (path.size() > at + 4 && path[at + 4] != '\\') return path;
    for (const RootName& root : roots) {
        if (starts_with_ignoring_case(std::string_view(path).substr(at), root.abbreviation))
            return path.substr(0, at) + root.long_name + path.substr(at + 4);
    }
    return path;
}

}  // namespace tarnwell
