#include "probes/program_settings.h"

#include <cstring>

#include "registry/reg_key.h"

namespace tarnwell {

const char* const program_settings_tree = "Software\\VB and VBA Program Settings";

std::string GetSetting(RegistryApi& registry, const std::string& app_name,
                       const std::string& section, const std::string& key,
                       const std::string& default_text) {
    const std::string path = std::string(program_settings_tree) + "\\" + app_name + "\\" + section;
    RegKey settings(registry);
    if (settings.open(reg::current_user, path, reg::key_read) != reg::success) return default_text;
    RegValueEntry value;
    if (settings.read_value(key, value) != reg::success) return default_text;
    return value.data.substr(0, strnlen(value.data.c_str(), value.data.size()));
}

}  // namespace tarnwell
