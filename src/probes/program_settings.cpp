#include "probes/program_settings.h"

#include "probes/stored_text.h"
#include "probes/value_as_text.h"
#include "registry/reg_key.h"

namespace tarnwell {

const char* const program_settings_tree = "Software\\VB and VBA Program Settings";

Result<std::string> program_setting(RegistryApi& registry, const std::string& app_name,
                                           const std::string& section, const std::string& key) {
    const std::string path = std::string(program_settings_tree) + "\\" + app_name + "\\" + section;
    RegKey settings(registry);
    if (const Status opened = settings.open(reg::current_user, path, reg::key_read); !opened.ok())
        return opened;
    RegValueEntry value;
    if (const Status read = settings.read_value(key, value); !read.ok()) return read;
    return text_before_nul(value_as_text(value));
}

}  // namespace tarnwell
