// libFuzzer target: the summary's JSON report reader and its CSV table. Every input is
// added twice, as two reports of a folder. Neither may crash; both are in the table or
// both are named; the table is RFC 4180 behind a BOM, every record with the header's
// field count, the two rows alike, no NUL anywhere and no field that starts as a
// spreadsheet formula would.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_summary.h"
#include "fuzz_require.h"

namespace {

using namespace tarnwell;

using Record = std::vector<std::string>;

// The records of a CSV text after its BOM, each field unquoted; every record must end
// in CR LF and every quoted field must be closed.
std::vector<Record> records_of(std::string_view csv) {
    std::vector<Record> records;
    Record record;
    std::string field;
    std::size_t i = 0;
    while (i < csv.size()) {
        if (csv[i] == '"') {
            for (++i;; ++i) {
                require(i < csv.size(), "a quoted field not closed");
                if (csv[i] != '"') {
                    field += csv[i];
                } else if (i + 1 < csv.size() && csv[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
        }
        while (i < csv.size() && csv[i] != ',' && csv[i] != '\r') {
            require(csv[i] != '"' && csv[i] != '\n', "a quote or a line break outside quotes");
            field += csv[i++];
        }
        require(i < csv.size(), "a record without CR LF");
        record.push_back(std::move(field));
        field.clear();
        if (csv[i] == ',') {
            ++i;
            continue;
        }
        require(csv.substr(i, 2) == "\r\n", "a CR without LF outside quotes");
        i += 2;
        records.push_back(std::move(record));
        record.clear();
    }
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    ReportSummary summary;
    summary.add_report("a.json", input);
    summary.add_report("b.json", input);
    const std::string csv = summary.csv();
    require(csv.rfind("\xEF\xBB\xBF", 0) == 0, "no BOM");
    require(csv.find('\0') == std::string::npos, "a NUL in the table");
    const std::vector<Record> records = records_of(std::string_view(csv).substr(3));
    require(records.size() == 1 || records.size() == 3, "not both reports or neither");
    require(records.size() == 3 || summary.messages().size() == 2, "a report left out unnamed");
    for (const Record& record : records) {
        require(record.size() == records.front().size(), "records of different lengths");
        for (const std::string& field : record)
            require(field.empty() || std::string_view("=+-@\t\r").find(field.front()) ==
                                         std::string_view::npos,
                    "a field that starts as a formula");
    }
    if (records.size() == 3) require(records[1] == records[2], "one report, two rows");
    return 0;
}
