#pragma once
// Many workstations' JSON reports as one CSV table, for the /summary command: a row per
// report, a column per check id. The command lists the files and hands them over one at
// a time; this reads each report as it streams in, keeps only the cells the table shows
// and writes the table's bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

namespace tarnwell {

// The summary, built a report at a time. The table's columns are computer, user,
// generated_utc, version, then every check id in the order first seen; a cell is the
// check's status, or "status: value" when it has a value, and empty for an id the
// report lacks. What the summary keeps is bounded by the limits below, whatever the
// reports hold: reading a report keeps a 64 KB buffer and its cells and ids, a small
// multiple of its size limit, and the table is at most its own size limit.
class ReportSummary {
public:
    // A report file larger than this is left out unread; a report is a few KB.
    static constexpr std::uint64_t report_size_limit = 4 * 1024 * 1024;
    // The check-id columns at most; a report has some seventy ids.
    static constexpr std::size_t check_column_limit = 1000;
    // The table's bytes at most: its CSV, and the rows kept for it until it is written,
    // each at most this. Some 20,000 reports of today's size fit.
    static constexpr std::size_t default_table_size_limit = 128 * 1024 * 1024;

    explicit ReportSummary(std::size_t table_size_limit = default_table_size_limit)
        : table_size_limit_(table_size_limit) {}

    // Reads one report from the file (from its current position) and adds its row. A
    // report is left out of the table, with a message that names it (`name`, the file's
    // name) and says why, when it is larger than report_size_limit; when it is not
    // strict JSON of the report's shape (the reason, and for a fault in the bytes the
    // count of bytes read when it was found); when a field the table shows holds a NUL
    // character; when it repeats a check id or has an id that is one of the four fixed
    // columns' names; and when its row would take the table past its size limit. Its
    // ids beyond check_column_limit columns are left out of its row, with a message.
    void add_report(const std::string& name, ReadableFile& file);
    // The same for a report already in memory.
    void add_report(const std::string& name, std::string_view bytes);

    // One message per report left out or shown in part, in the order added, such as
    // "WS1-jdoe.json: not a report: checks[2] has no \"status\"".
    const std::vector<std::string>& messages() const { return messages_; }

    // The CSV file's bytes: UTF-8 BOM, RFC 4180, CR LF record ends. A cell that would
    // start with '=', '+', '-', '@', TAB or CR starts with '\'' instead, so that a
    // spreadsheet shows it as text and never runs it as a formula.
    std::string csv() const;

private:
    // A row's fields as the CSV writes them, one after another, and where each field
    // lies, in column order.
    struct Row {
        struct Field {
            std::uint32_t column;
            std::uint32_t begin;
            std::uint32_t size;
        };
        std::string text;
        std::vector<Field> fields;
    };

    const std::size_t table_size_limit_;
    std::unordered_map<std::string, std::uint32_t> column_of_id_;
    std::vector<std::string> header_;  // the check columns' fields as the CSV writes them
    std::vector<Row> rows_;
    std::size_t table_size_ = 0;  // what the rows and the header count against the limit
    std::vector<std::string> messages_;
};

}  // namespace tarnwell
