// The table of many workstations' reports: its columns and cells, and the reports it
// names and leaves out, with why.
#include <gtest/gtest.h>

#include "platform/bytes_in_memory.h"
#include "report/report_summary.h"

namespace tarnwell::test {
namespace {

const std::string bom = "\xEF\xBB\xBF";

// What the summary of the reports (file names and bytes) writes and says.
struct Summary {
    std::string csv;
    std::vector<std::string> messages;
};

Summary summarise(const std::vector<std::pair<std::string, std::string>>& reports) {
    ReportSummary summary;
    for (const auto& [name, bytes] : reports)
        summary.add_report(name, bytes);
    return {summary.csv(), summary.messages()};
}
const std::string header = bom + "computer,user,generated_utc,version";

std::string report(const std::string& computer, const std::string& checks) {
    return R"({"tool":"tarnwell_env","version":"1.0.0","computer":")" + computer +
           R"(","user":"jdoe","generated_utc":"2026-12-09T11:00:00Z","checks":[)" + checks + "]}";
}

std::string check(const std::string& id, const std::string& status, const std::string& value) {
    return R"({"id":")" + id + R"(","status":")" + status + R"(","value":)" + value +
           R"(,"line":"text"})";
}

// The rows that follow the four fixed columns of one of report()'s reports.
std::string row(const std::string& computer, const std::string& cells) {
    return computer + ",jdoe,2026-12-09T11:00:00Z,1.0.0" + cells + "\r\n";
}

TEST(ReportSummary, ColumnsInFirstSeenOrderAndMissingIdsEmpty) {
    const Summary summary = summarise({
        {"a.json", report("WS1", check("settings_tree", "found", R"("HKCU\\Software")") + "," +
                                     check("saved.solidane.form_size", "value", R"("100,200")"))},
        {"b.json", report("WS2", check("saved_projections", "count", "3") + "," +
                                     check("settings_tree", "missing", "null"))},
        {"c.json", report("WS3", "")},
    });
    EXPECT_TRUE(summary.messages.empty());
    EXPECT_EQ(summary.csv, header +
                               ",settings_tree,saved.solidane.form_size,saved_projections\r\n" +
                               row("WS1", R"(,found: HKCU\Software,"value: 100,200",)") +
                               row("WS2", ",missing,,count: 3") + row("WS3", ",,,"));
}

TEST(ReportSummary, ABrokenReportIsNamedAndTheRestSummarised) {
    const std::string broken = R"({"computer":"WS2" "user":"x","checks":[)" +
                               check("only_in_broken", "found", "null") + "]}";
    const Summary summary = summarise({
        {"a.json", report("WS1", check("settings_tree", "found", "null"))},
        {"b.json", broken},
        {"c.json", report("WS3", check("suite_folder", "empty", "null"))},
    });
    EXPECT_EQ(summary.messages,
              std::vector<std::string>{
                  "b.json: not a report: syntax error while parsing object - unexpected string "
                  "literal; expected '}' at byte 24"});
    EXPECT_EQ(summary.csv, header + ",settings_tree,suite_folder\r\n" + row("WS1", ",found,") +
                               row("WS3", ",,empty"));
}

TEST(ReportSummary, WithNothingParsedTheTableIsItsHeader) {
    EXPECT_EQ(summarise({}).csv, header + "\r\n");
    EXPECT_EQ(summarise({{"x.json", "{"}}).csv, header + "\r\n");
}

TEST(ReportSummary, LayoutOrderAndOtherMembersDoNotMatter) {
    const std::string pretty = bom +
                               "{\r\n  \"checks\": [\r\n    { \"value\" : 3, \"line\": \"n\", "
                               "\"status\": \"count\", \"id\": \"saved_projections\" }\r\n  ],\n"
                               "\t\"messages\": [\"x\", {\"deep\": [1.5e-3, true, false, null]}],\n"
                               "  \"user\": \"j\\/doe\", \"computer\": \"WS1\", \"version\": "
                               "\"1.0.0\",\n  \"generated_utc\": \"2026-12-09T11:00:00Z\"\n}\n";
    const Summary summary = summarise({{"p.json", pretty}});
    EXPECT_TRUE(summary.messages.empty());
    EXPECT_EQ(summary.csv, header + ",saved_projections\r\n" +
                               "WS1,j/doe,2026-12-09T11:00:00Z,1.0.0,count: 3\r\n");
}

struct FieldCase {
    const char* json;  // a text as the report writes it
    const char* csv;   // its field in the table
};

class ReportSummaryField : public ::testing::TestWithParam<FieldCase> {};

// The text as a computer's name, a check's id (a column's name) and its status (a cell).
TEST_P(ReportSummaryField, IsNeutralisedAndQuotedOnlyWhenItMustBe) {
    const std::string text = GetParam().json, field = GetParam().csv;
    const Summary summary = summarise({{"r.json", report(text, check(text, text, "null"))}});
    EXPECT_EQ(summary.csv, header + "," + field + "\r\n" + row(field, "," + field));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ReportSummaryField,
    ::testing::Values(FieldCase{"WS1", "WS1"}, FieldCase{"a,b", "\"a,b\""},
                      FieldCase{R"(say \"hi\")", R"("say ""hi""")"},
                      FieldCase{R"(cr\r)", "\"cr\r\""},
                      FieldCase{R"(two\nlines)", "\"two\nlines\""},
                      FieldCase{R"( tab\t )", " tab\t "}, FieldCase{"caf\xC3\xA9", "caf\xC3\xA9"},
                      FieldCase{R"(caf\u00E9)", "caf\xC3\xA9"},
                      FieldCase{R"(\u20AC\ud83d\ude00)", "\xE2\x82\xAC\xF0\x9F\x98\x80"},
                      // What a spreadsheet would run as a formula starts with a quote.
                      FieldCase{"=1+2", "'=1+2"}, FieldCase{"+1", "'+1"},
                      FieldCase{"-1", "'-1"}, FieldCase{"@SUM(1)", "'@SUM(1)"},
                      FieldCase{R"(\tx)", "'\tx"}, FieldCase{R"(\r=1)", "\"'\r=1\""},
                      FieldCase{"=HYPERLINK(\\\"x\\\")", "\"'=HYPERLINK(\"\"x\"\")\""},
                      FieldCase{"a=1", "a=1"}, FieldCase{" =1", " =1"}));

// The members before the checks' items, and a check's members before its value.
const std::string head =
    R"({"computer":"c","user":"u","generated_utc":"t","version":"v","checks":[)";
const std::string before_value = R"({"id":"a","status":"s","value":)";
// A report whose one check's value starts with `text`.
std::string value(const std::string& text) { return head + before_value + text; }
std::string at(std::size_t offset) { return " at byte " + std::to_string(offset); }

struct UnreadableCase {
    std::string bytes;
    std::string reason;
};

void PrintTo(const UnreadableCase& input, std::ostream* out) { *out << input.reason; }

class ReportSummaryUnreadable : public ::testing::TestWithParam<UnreadableCase> {};

TEST_P(ReportSummaryUnreadable, IsNamedWithItsReason) {
    const Summary summary = summarise({{"r.json", GetParam().bytes}});
    EXPECT_EQ(summary.messages,
              std::vector<std::string>{"r.json: not a report: " + GetParam().reason});
    EXPECT_EQ(summary.csv, header + "\r\n");
}

const std::size_t value_at = head.size() + before_value.size();
// The parser's words for a fault in the bytes; its offsets count the bytes read.
const std::string bad_value = "syntax error while parsing value - ";
const std::string bad_string = bad_value + "invalid string: ";
const std::string no_end_of_object = "syntax error while parsing object - unexpected ";

INSTANTIATE_TEST_SUITE_P(
    Inputs, ReportSummaryUnreadable,
    ::testing::Values(
        UnreadableCase{
            "", bad_value + "unexpected end of input; expected '[', '{', or a literal" + at(0)},
        UnreadableCase{
            bom, bad_value + "unexpected end of input; expected '[', '{', or a literal" + at(3)},
        UnreadableCase{"[]", "expected an object"}, UnreadableCase{"{}", R"(no "computer")"},
        UnreadableCase{R"({"computer":1})", R"("computer" is not a string)"},
        UnreadableCase{R"({"computer":"a","computer":"b"})", R"(second "computer")"},
        UnreadableCase{head + "]} x",
                       bad_value + "invalid literal; expected end of input" + at(head.size() + 4)},
        UnreadableCase{head + "]",
                       no_end_of_object + "end of input; expected '}'" + at(head.size() + 1)},
        UnreadableCase{
            R"({"computer":"c","user":"u","generated_utc":"t","version":"v","checks":{}})",
            R"("checks" is not an array)"},
        UnreadableCase{head + R"("x"]})", "checks[0] is not an object"},
        UnreadableCase{head + R"({"id":"a","status":"s"}]})", R"(checks[0] has no "value")"},
        UnreadableCase{head + check("a", "s", "1") + "," + check("a", "t", "2") + "]}",
                       "checks[1] repeats the id of checks[0]"},
        UnreadableCase{value("1.5}]}"), "checks[0].value is not a string, integer or null"},
        UnreadableCase{value("true}]}"), "checks[0].value is not a string, integer or null"},
        UnreadableCase{R"({"computer":"a\u0000b"})", R"("computer" holds a NUL character)"},
        UnreadableCase{value(R"("\u0000"}]})"), R"("checks[0].value" holds a NUL character)"},
        UnreadableCase{
            head + check("a", "s", "1") + "," + check("computer", "found", "null") + "]}",
            R"(checks[1] has the id "computer" of a fixed column)"},
        UnreadableCase{value("01}]}"),
                       no_end_of_object + "number literal; expected '}'" + at(value_at + 3)},
        UnreadableCase{value("-}]}"),
                       bad_value + "invalid number; expected digit after '-'" + at(value_at + 2)},
        UnreadableCase{value(R"("abc)"), bad_string + "missing closing quote" + at(value_at + 4)},
        UnreadableCase{value(R"("ab\)"),
                       bad_string + "forbidden character after backslash" + at(value_at + 4)},
        UnreadableCase{value(R"("\x"}]})"),
                       bad_string + "forbidden character after backslash" + at(value_at + 3)},
        UnreadableCase{value(R"("\u12G4"}]})"),
                       bad_string + "'\\u' must be followed by 4 hex digits" + at(value_at + 6)},
        UnreadableCase{value(R"("\ud800"}]})"),
                       bad_string + "surrogate U+D800..U+DBFF must be followed by U+DC00..U+DFFF" +
                           at(value_at + 8)},
        UnreadableCase{value(R"("\ud800\u0041"}]})"),
                       bad_string + "surrogate U+D800..U+DBFF must be followed by U+DC00..U+DFFF" +
                           at(value_at + 13)},
        UnreadableCase{
            value(R"("\udc00\ud800"}]})"),
            bad_string + "surrogate U+DC00..U+DFFF must follow U+D800..U+DBFF" + at(value_at + 7)},
        UnreadableCase{value("\"a\tb\"}]}"),
                       bad_string +
                           "control character U+0009 (HT) must be escaped to \\u0009 or \\t" +
                           at(value_at + 3)},
        UnreadableCase{value("\"\xC0\xAF\"}]}"),
                       bad_string + "ill-formed UTF-8 byte" + at(value_at + 2)},
        UnreadableCase{value("\"\xED\xA0\x80\"}]}"),
                       bad_string + "ill-formed UTF-8 byte" + at(value_at + 3)},
        UnreadableCase{value("\"\xE2\x82"),
                       bad_string + "ill-formed UTF-8 byte" + at(value_at + 3)}));

// Checks "c<first>" onwards, each found.
std::string numbered_checks(std::size_t first, std::size_t count) {
    std::string checks;
    for (std::size_t i = first; i < first + count; ++i)
        checks += (checks.empty() ? "" : ",") + check("c" + std::to_string(i), "found", "null");
    return checks;
}

TEST(ReportSummary, ChecksBeyondTheColumnLimitAreLeftOutOfTheirRowAndNamed) {
    const std::size_t limit = ReportSummary::check_column_limit;
    const Summary summary = summarise({
        {"a.json", report("WS1", numbered_checks(0, limit - 1))},
        // One known id, one that takes the last column and two beyond it.
        {"b.json", report("WS2", numbered_checks(limit - 2, 4))},
        {"c.json", report("WS3", numbered_checks(0, 1))},
    });
    EXPECT_EQ(summary.messages,
              std::vector<std::string>{"b.json: 2 checks left out of its row: the table has " +
                                       std::to_string(limit) + " check columns at most"});
    std::string columns, all_but_the_last;
    for (std::size_t i = 0; i < limit; ++i)
        columns += ",c" + std::to_string(i);
    for (std::size_t i = 0; i < limit - 1; ++i)
        all_but_the_last += ",found";
    EXPECT_TRUE(summary.csv == header + columns + "\r\n" + row("WS1", all_but_the_last + ",") +
                                   row("WS2", std::string(limit - 2, ',') + ",found,found") +
                                   row("WS3", ",found" + std::string(limit - 1, ',')));
}

// A file that cannot tell its size, as one growing while it is read: its bytes count.
class FileOfUnknownSize : public BytesInMemory {
public:
    using BytesInMemory::BytesInMemory;
    Result<std::uint64_t> size() override { return Status::failure("no size"); }
};

TEST(ReportSummary, AReportLargerThanTheLimitIsNamedAndLeftOut) {
    const std::size_t limit = ReportSummary::report_size_limit;
    const std::string whole = report("WS1", "");
    const std::string at_limit = whole + std::string(limit - whole.size(), ' ');
    const std::string too_large = at_limit + " ";
    const std::string refused = "b.json: File too large to read: " + std::to_string(limit + 1) +
                                " bytes, more than the limit of " + std::to_string(limit) +
                                " bytes";
    ReportSummary summary;
    summary.add_report("a.json", at_limit);
    summary.add_report("b.json", too_large);
    FileOfUnknownSize unknown_size(too_large);
    summary.add_report("b.json", unknown_size);
    EXPECT_EQ(summary.messages(), (std::vector<std::string>{refused, refused}));
    EXPECT_EQ(summary.csv(), header + "\r\n" + row("WS1", ""));
}

TEST(ReportSummary, AReportBeyondTheTableSizeLimitIsNamedAndLeftOut) {
    ReportSummary summary(1024 * 1024);
    const std::string value = '"' + std::string(300 * 1024, 'v') + '"';
    for (const char* computer : {"WS1", "WS2", "WS3", "WS4"})
        summary.add_report(computer, report(computer, check("a", "value", value)));
    summary.add_report("WS5", report("WS5", check("a", "value", "\"v\"")));
    EXPECT_EQ(summary.messages(),
              std::vector<std::string>{"WS4: left out: the table holds 1 MB at most"});
    const std::string csv = summary.csv();
    EXPECT_EQ(csv.find("WS4"), std::string::npos);
    EXPECT_EQ(csv.substr(csv.rfind("\r\n", csv.size() - 3)), "\r\n" + row("WS5", ",value: v"));
}

// Three levels are the report's own: its object, the checks and a check.
std::string nested_in_a_check(std::size_t levels) {
    return head + R"({"id":"a","status":"s","value":null,"line":)" + std::string(levels, '[') +
           std::string(levels, ']') + "}]}";
}

TEST(ReportSummary, NestingIsBounded) {
    EXPECT_TRUE(summarise({{"r.json", nested_in_a_check(61)}}).messages.empty());
    EXPECT_EQ(summarise({{"r.json", nested_in_a_check(62)}}).messages.size(), 1u);
    const std::string hostile = R"({"text":)" + std::string(1000000, '[');
    EXPECT_EQ(summarise({{"r.json", hostile}}).messages,
              std::vector<std::string>{"r.json: not a report: nesting deeper than 64"});
}

TEST(ReportSummary, EveryCutOfAReportIsUnreadable) {
    const std::string whole = report("WS\\u00e9", check("settings_tree", "found", R"("a\"b")") +
                                                      "," + check("n", "count", "12"));
    ASSERT_TRUE(summarise({{"r.json", whole}}).messages.empty());
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_EQ(
            summarise({{"r.json", whole.substr(0, length)}}).messages.size(), 1u)
            << length;
}

}  // namespace
}  // namespace tarnwell::test
