#pragma once
// Many workstations' JSON reports as one CSV table, for the /summary command: a row per
// report, a column per check id. The command lists and reads the files and writes the
// table; this reads the reports and builds the table's bytes.
#include <string>
#include <vector>

namespace tarnwell {

// One report file as read from the folder: its file name (for messages) and bytes.
struct ReportFile {
    std::string name;
    std::string bytes;
};

// The summary: the CSV file's bytes (UTF-8 BOM, RFC 4180, CR LF record ends) and one
// message per report that did not parse, such as "WS1-jdoe.json: not a report: expected
// ',' at byte 120".
struct ReportSummary {
    std::string csv;
    std::vector<std::string> unreadable_reports;
};

// Reads the reports in the order given. The table's columns are computer, user,
// generated_utc, version, then every check id in the order first seen; a cell is the
// check's status, or "status: value" when it has a value, and empty for an id the
// report lacks. A report that is not strict JSON of the report's shape is left out of
// the table and named in unreadable_reports with the reason and, for a fault in the
// bytes, its offset from the file's first byte. Reading is linear in the input, bounds
// its nesting and keeps only what the table needs, whatever the bytes hold.
ReportSummary summarise_reports(const std::vector<ReportFile>& reports);

}  // namespace tarnwell
