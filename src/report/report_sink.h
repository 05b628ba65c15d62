#pragma once
// What the report sections give: the findings, one per report line, in the order the
// sections decide them.
#include <string>

#include "common/status.h"

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

// The view of HKEY_LOCAL_MACHINE\SOFTWARE a stored value was found in; none for a value
// found elsewhere and for whatever is not a stored value.
enum class MachineView { none, bits32, bits64 };

// One line of the report and what it found.
struct Finding {
    FindingState state = FindingState::found;
    std::string value;  // the path, text or number found; "" when there is none
    std::string line;   // the report line as written
    bool blank_before = false;
    // What the line is about, the same on every workstation ("program.solidane"); ""
    // for a heading.
    std::string id;
    // Why a lookup failed rather than found nothing (the line then reads as that of an
    // absent value); success when it did not fail.
    Status lookup_failure = Status();
    MachineView view = MachineView::none;
};

// A lookup's answer as the report shows it, and why the lookup failed rather than found
// nothing (success when it did not fail).
template <class T>
struct Lookup {
    T answer{};
    Status failure = Status();
    MachineView view = MachineView::none;  // where a stored value was found
};

struct SuiteState;

// Where the report goes, line by line.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    // The report's first line, which the others follow.
    virtual void start(const std::string& header) = 0;
    virtual void add(const Finding& finding) = 0;
    // The installation checks are done, as far as they came; the state they settled.
    virtual void installation_checked(const SuiteState&) {}
};

}  // namespace tarnwell
