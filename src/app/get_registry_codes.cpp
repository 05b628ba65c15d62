#include "app/error_description.h"
#include "app/report_window.h"
#include "probes/program_settings.h"
#include "probes/trim_n.h"

namespace tarnwell {

void Form_Tarnwell_Environment::get_registry_codes(const std::string& appName,
                                                   const std::string& section,
                                                   const std::string& KeyName,
                                                   std::string& chkey, std::string& chkeyloc,
                                                   std::int32_t& ierr) {
    // This lookup has its own trap: a failure is shown and the value counts as missing.
    try {
        chkey.clear();
        const auto read_from = [&](const char* location) {
            chkeyloc = location;
            const std::string text =
                registry().ReadString(chkeyloc + appName + "\\" + section, KeyName, "");
            if (!text.empty()) chkey = TrimN(text);
            return !chkey.empty();
        };
        if (read_from("\\HKEY_LOCAL_MACHINE\\SOFTWARE\\") ||
            read_from("\\HKEY_CURRENT_USER\\SOFTWARE\\")) {
            ierr = 0;
            return;
        }
        chkeyloc = "VB Registry";
        chkey = GetSetting(platform_.registry, appName, section, KeyName, "<no value>");
        if (chkey == "<no value>") {
            chkey.clear();
            ierr = -1;
        }
    } catch (const std::exception& failure) {
        chkey.clear();
        platform_.desktop.message_box("An error occurred while checking the key " + section +
                                      " : " + error_description(failure),
                                      MessageKind::error);
    }
}

}  // namespace tarnwell
