#pragma once
// What the report sections need and give: the lookups of stored suite values, which
// the window makes with the registry access class's own rules, the platform's files
// and support library, and the findings, one per report line, in the order the
// sections decide them.
#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "platform/registry_api.h"
#include "platform/support_library.h"

namespace tarnwell {

// What a report line says of what it looked at.
enum class FindingState {
    found,    // the key, folder, file or program is there
    missing,  // it is not
    value,    // a stored value, shown as it is
    empty,    // a value that is stored nowhere
    count,    // how many entries a section holds
    heading,  // a heading, no finding of its own
};

// One line of the report and what it found.
struct Finding {
    FindingState state = FindingState::found;
    std::string value;  // the path, text or number found; "" when there is none
    std::string line;   // the report line as written
    bool blank_before = false;
    // What the line is about, the same on every workstation ("program.solidane"); ""
    // for a heading.
    std::string id;
    // The Windows error of a lookup that failed rather than found nothing; the line
    // then reads as that of an absent value. 0 when the lookup did not fail.
    long lookup_error = 0;
};

// A lookup's answer as the report shows it, and the Windows error when the lookup
// failed rather than found nothing (0 when it did not fail).
template <class T>
struct Lookup {
    T answer{};
    long error = 0;
};

class ReportSink {
public:
    virtual ~ReportSink() = default;
    virtual void add(const Finding& finding) = 0;
};

// The lookups the window makes for the report.
class SuiteLookups {
public:
    virtual ~SuiteLookups() = default;
    // Whether the key exists, as the registry access class tests it.
    virtual Lookup<bool> key_exists(const std::string& path) = 0;
    // A stored suite value of the application and section, from the machine-wide key,
    // the per-user key or the program settings tree; "" when it is stored nowhere.
    virtual Lookup<std::string> stored_value(const std::string& app, const std::string& section,
                                             const std::string& name) = 0;
    // How many values a section of the program settings tree holds ("app\section").
    virtual Lookup<std::int32_t> settings_count(const std::string& section) = 0;
};

struct ReportSources {
    SuiteLookups& lookups;
    FileSystem& files;
    SupportLibrary& support;
};

}  // namespace tarnwell
