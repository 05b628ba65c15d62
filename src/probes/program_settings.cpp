#include "probes/program_settings.h"

#include <cstring>
#include <vector>

namespace tarnwell {

const char* const program_settings_tree = "Software\\VB and VBA Program Settings";

std::string GetSetting(RegistryApi& registry, const std::string& app_name,
                       const std::string& section, const std::string& key,
                       const std::string& default_text) {
    const std::string path = std::string(program_settings_tree) + "\\" + app_name + "\\" + section;
    reg_key opened = 0;
    if (registry.open_key(reg::current_user, path.c_str(), reg::key_read, &opened) != reg::success)
        return default_text;

    std::string result = default_text;
    std::uint32_t size = 0;
    if (registry.query_value(opened, key.c_str(), nullptr, nullptr, &size) == reg::success) {
        std::vector<std::uint8_t> data(size + 1u, 0);
        if (registry.query_value(opened, key.c_str(), nullptr, data.data(), &size) ==
            reg::success) {
            const char* text = reinterpret_cast<const char*>(data.data());
            result.assign(text, strnlen(text, size));
        }
    }
    registry.close_key(opened);
    return result;
}

}  // namespace tarnwell
