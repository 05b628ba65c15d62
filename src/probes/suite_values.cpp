#include "probes/suite_values.h"

#include "probes/program_settings.h"
#include "probes/stored_text.h"
#include "probes/value_as_text.h"
#include "registry/fixed_size_reads.h"

namespace tarnwell {

Result<bool> key_found(RegistryApi& registry, reg_key root, const std::string& sub_key) {
    const Status opened = open_with_full_access(registry, root, sub_key);
    if (opened.ok()) return true;
    if (opened == reg::file_not_found) return false;
    return opened;
}

Result<SuiteValue> stored_suite_value(Platform& platform, const std::string& app,
                                      const std::string& section, const std::string& name) {
    Status first_failure;
    const auto failed = [&](const Status& status) {
        if (!status.ok() && status != reg::file_not_found && first_failure.ok())
            first_failure = status;
    };
    const std::string below = app + "\\" + section;
    struct Place {
        RegistryApi& registry;
        reg_key root;
        SuiteValuePlace place;
    };
    for (const Place& where :
         {Place{platform.registry_32, reg::local_machine, SuiteValuePlace::machine_32},
          Place{platform.registry_64, reg::local_machine, SuiteValuePlace::machine_64},
          Place{platform.registry, reg::current_user, SuiteValuePlace::user}}) {
        const Result<std::string> read =
            read_value_as_text(where.registry, where.root, "SOFTWARE\\" + below, name);
        failed(read.status());
        if (!read.ok()) continue;
        std::string text = trimmed_stored_text(*read);
        if (!text.empty()) return SuiteValue{std::move(text), where.place};
    }
    Result<std::string> setting = program_setting(platform.registry, app, section, name);
    failed(setting.status());
    if (setting.ok() && *setting != "<no value>" && !setting->empty())
        return SuiteValue{std::move(setting).value(), SuiteValuePlace::program_settings};
    if (!first_failure.ok()) return first_failure;
    return SuiteValue{};
}

}  // namespace tarnwell
