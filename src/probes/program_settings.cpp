#include "probes/program_settings.h"

#include "probes/value_as_text.h"

namespace tarnwell {

const char* const program_settings_tree = "Software\\VB and VBA Program Settings";

Result<std::string> program_setting(RegistryApi& registry, const std::string& app_name,
                                    const std::string& section, const std::string& key) {
    return read_value_as_text(registry, reg::current_user,
                              std::string(program_settings_tree) + "\\" + app_name + "\\" + section,
                              key);
}

}  // namespace tarnwell
