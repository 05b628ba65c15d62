#pragma once
// The report's lookups of the suite's keys, stored values and saved settings, made
// through the core probes. A lookup the registry failed answers as one that found
// nothing, with the failure's Windows error beside the answer.
#include <cstdint>
#include <exception>
#include <string>

#include "platform/platform.h"
#include "report/report_sink.h"

namespace tarnwell {

// What a trap shows of a failure that came as an exception rather than a Status.
std::string description_of(const std::exception& failure);

// The message a failed look-up of a stored suite value shows.
std::string key_check_failure(const std::string& section, const std::string& description);

class SuiteLookups {
public:
    explicit SuiteLookups(Platform& platform) : platform_(platform) {}

    // Whether the key below the root exists, tested with full access.
    Lookup<bool> key_exists(reg_key root, const std::string& sub_key);
    // A stored suite value of the application and section; "" when it is stored
    // nowhere. A failure that comes as an exception is shown in a message box and the
    // value counts as missing.
    Lookup<std::string> stored_value(const std::string& app, const std::string& section,
                                     const std::string& name);
    // How many named values a section of the program settings tree holds
    // ("app\section").
    Lookup<std::int32_t> settings_count(const std::string& section);

private:
    Platform& platform_;
};

}  // namespace tarnwell
