#pragma once
// The report as one JSON document, for the scripts that collect reports from many
// workstations: who and what wrote it, the text as the window shows it, what the
// message boxes would have said, and one check per report line with a stable id.
#include <string>
#include <vector>

#include "report/report_sink.h"

namespace tarnwell {

// Who and what wrote the report, in UTF-8.
struct ReportIdentity {
    std::string version;        // the binaries' version, "1.0.0"
    std::string computer;
    std::string user;
    std::string windows;        // the running Windows, "10.0.19045"
    std::string generated_utc;  // "YYYY-MM-DDTHH:MM:SSZ"
};

// The JSON document, UTF-8 without a BOM. The text, the messages and the findings are
// ANSI, as the report holds them. Headings are no checks; a finding whose lookup failed
// is "unreadable" with its Windows error.
std::string report_json(const ReportIdentity& identity, const std::string& text,
                        const std::vector<std::string>& messages,
                        const std::vector<Finding>& findings);

}  // namespace tarnwell
