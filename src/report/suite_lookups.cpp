#include "report/suite_lookups.h"

#include <new>

#include "probes/program_settings.h"
#include "probes/suite_values.h"

namespace tarnwell {

std::string description_of(const std::exception& failure) {
    return dynamic_cast<const std::bad_alloc*>(&failure) != nullptr ? "Out of memory"
                                                                    : failure.what();
}

std::string key_check_failure(const std::string& section, const std::string& description) {
    return "An error occurred while checking the key " + section + " : " + description;
}

namespace {

template <class T>
Lookup<T> lookup_of(const Result<T>& result, T missing) {
    if (result.ok()) return {*result};
    return {missing, result.status()};
}

MachineView machine_view(SuiteValuePlace place) {
    switch (place) {
    case SuiteValuePlace::machine_32:
        return MachineView::bits32;
    case SuiteValuePlace::machine_64:
        return MachineView::bits64;
    default:
        return MachineView::none;
    }
}

}  // namespace

Lookup<bool> SuiteLookups::key_exists(reg_key root, const std::string& sub_key) {
    return lookup_of(key_found(platform_.registry, root, sub_key), false);
}

Lookup<std::string> SuiteLookups::stored_value(const std::string& app, const std::string& section,
                                               const std::string& name) {
    constexpr long not_enough_memory = 8;   // ERROR_NOT_ENOUGH_MEMORY
    constexpr long function_failed = 1627;  // ERROR_FUNCTION_FAILED
    try {
        const Result<SuiteValue> value = stored_suite_value(platform_, app, section, name);
        if (value.ok()) return {value->text, Status(), machine_view(value->place)};
        return {"", value.status()};
    } catch (const std::exception& failure) {
        platform_.desktop.message_box(key_check_failure(section, description_of(failure)),
                                      MessageKind::error);
        return {"",
                Status(dynamic_cast<const std::bad_alloc*>(&failure) != nullptr ? not_enough_memory
                                                                                : function_failed)};
    }
}

Lookup<std::int32_t> SuiteLookups::settings_count(const std::string& section) {
    const SectionSettings read = read_section_settings(platform_.registry, section);
    const auto count = static_cast<std::int32_t>(read.value_count < 1 ? 0 : read.settings.size());
    return {count, count >= 1 ? Status() : read.failure};
}

}  // namespace tarnwell
