#include <gtest/gtest.h>

#include "report/report_summary.h"

namespace tarnwell::test {
namespace {

const std::string bom = "\xEF\xBB\xBF";
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
    const ReportSummary summary = summarise_reports({
        {"a.json", report("WS1", check("settings_tree", "found", R"("HKCU\\Software")") + "," +
                                     check("saved.solidane.form_size", "value", R"("100,200")"))},
        {"b.json", report("WS2", check("saved_projections", "count", "3") + "," +
                                     check("settings_tree", "missing", "null"))},
        {"c.json", report("WS3", "")},
    });
    EXPECT_TRUE(summary.unreadable_reports.empty());
    EXPECT_EQ(summary.csv, header +
                               ",settings_tree,saved.solidane.form_size,saved_projections\r\n" +
                               row("WS1", R"(,found: HKCU\Software,"value: 100,200",)") +
                               row("WS2", ",missing,,count: 3") + row("WS3", ",,,"));
}

TEST(ReportSummary, ABrokenReportIsNamedAndTheRestSummarised) {
    const std::string broken = R"({"computer":"WS2" "user":"x","checks":[)" +
                               check("only_in_broken", "found", "null") + "]}";
    const ReportSummary summary = summarise_reports({
        {"a.json", report("WS1", check("settings_tree", "found", "null"))},
        {"b.json", broken},
        {"c.json", report("WS3", check("suite_folder", "empty", "null"))},
    });
    EXPECT_EQ(summary.unreadable_reports,
              std::vector<std::string>{"b.json: not a report: expected ',' or '}' at byte 18"});
    EXPECT_EQ(summary.csv, header + ",settings_tree,suite_folder\r\n" + row("WS1", ",found,") +
                               row("WS3", ",,empty"));
}

TEST(ReportSummary, WithNothingParsedTheTableIsItsHeader) {
    EXPECT_EQ(summarise_reports({}).csv, header + "\r\n");
    EXPECT_EQ(summarise_reports({{"x.json", "{"}}).csv, header + "\r\n");
}

TEST(ReportSummary, LayoutOrderAndOtherMembersDoNotMatter) {
    const std::string pretty = bom +
                               "{\r\n  \"checks\": [\r\n    { \"value\" : 3, \"line\": \"n\", "
                               "\"status\": \"count\", \"id\": \"saved_projections\" }\r\n  ],\n"
                               "\t\"messages\": [\"x\", {\"deep\": [1.5e-3, true, false, null]}],\n"
                               "  \"user\": \"j\\/doe\", \"computer\": \"WS1\", \"version\": "
                               "\"1.0.0\",\n  \"generated_utc\": \"2026-12-09T11:00:00Z\"\n}\n";
    const ReportSummary summary = summarise_reports({{"p.json", pretty}});
    EXPECT_TRUE(summary.unreadable_reports.empty());
    EXPECT_EQ(summary.csv, header + ",saved_projections\r\n" +
                               "WS1,j/doe,2026-12-09T11:00:00Z,1.0.0,count: 3\r\n");
}

struct FieldCase {
    const char* json;  // the computer's name as the report writes it
    const char* csv;   // its field in the table
};

class ReportSummaryField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(ReportSummaryField, IsQuotedOnlyWhenItMustBe) {
    const ReportSummary summary = summarise_reports({{"r.json", report(GetParam().json, "")}});
    EXPECT_EQ(summary.csv, header + "\r\n" + row(GetParam().csv, ""));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ReportSummaryField,
    ::testing::Values(FieldCase{"WS1", "WS1"}, FieldCase{"a,b", "\"a,b\""},
                      FieldCase{R"(say \"hi\")", R"("say ""hi""")"},
                      FieldCase{R"(cr\r)", "\"cr\r\""},
                      FieldCase{R"(two\nlines)", "\"two\nlines\""},
                      FieldCase{R"( tab\t )", " tab\t "}, FieldCase{"caf\xC3\xA9", "caf\xC3\xA9"},
                      FieldCase{R"(caf\u00E9)", "caf\xC3\xA9"},
                      FieldCase{R"(\u20AC\ud83d\ude00)", "\xE2\x82\xAC\xF0\x9F\x98\x80"}));

// The members before the checks' items, and a check's members before its value.
const std::string head =
    R"({"computer":"c","user":"u","generated_utc":"t","version":"v","checks":[)";
const std::string before_value = R"({"id":"a","status":"s","value":)";
std::string at(std::size_t offset) { return " at byte " + std::to_string(offset); }

struct UnreadableCase {
    std::string bytes;
    std::string reason;
};

void PrintTo(const UnreadableCase& input, std::ostream* out) { *out << input.reason; }

class ReportSummaryUnreadable : public ::testing::TestWithParam<UnreadableCase> {};

TEST_P(ReportSummaryUnreadable, IsNamedWithItsReason) {
    const ReportSummary summary = summarise_reports({{"r.json", GetParam().bytes}});
    EXPECT_EQ(summary.unreadable_reports,
              std::vector<std::string>{"r.json: not a report: " + GetParam().reason});
    EXPECT_EQ(summary.csv, header + "\r\n");
}

const std::size_t value_at = head.size() + before_value.size();

INSTANTIATE_TEST_SUITE_P(
    Inputs, ReportSummaryUnreadable,
    ::testing::Values(
        UnreadableCase{"", "expected an object" + at(0)},
        UnreadableCase{bom, "expected an object" + at(3)},
        UnreadableCase{"[]", "expected an object" + at(0)},
        UnreadableCase{"{}", R"(no "computer")"},
        UnreadableCase{R"({"computer":1})", R"("computer" is not a string)" + at(12)},
        UnreadableCase{R"({"computer":"a","computer":"b"})", R"(second "computer")" + at(16)},
        UnreadableCase{head + "]} x", "unexpected data after the document" + at(head.size() + 3)},
        UnreadableCase{head + "]", "expected ',' or '}'" + at(head.size() + 1)},
        UnreadableCase{
            R"({"computer":"c","user":"u","generated_utc":"t","version":"v","checks":{}})",
            R"("checks" is not an array)" + at(head.size() - 1)},
        UnreadableCase{head + R"("x"]})", "checks[0] is not an object" + at(head.size())},
        UnreadableCase{head + R"({"id":"a","status":"s"}]})", R"(checks[0] has no "value")"},
        UnreadableCase{head + check("a", "s", "1") + "," + check("a", "t", "2") + "]}",
                       "checks[1] repeats the id of checks[0]" +
                           at(head.size() + check("a", "s", "1").size() + 1)},
        UnreadableCase{head + before_value + "1.5}]}",
                       "checks[0].value is not a string, integer or null" + at(value_at)},
        UnreadableCase{head + before_value + "true}]}",
                       "checks[0].value is not a string, integer or null" + at(value_at)},
        UnreadableCase{head + before_value + "01}]}", "expected ',' or '}'" + at(value_at + 1)},
        UnreadableCase{head + before_value + "-}]}", "invalid number" + at(value_at)},
        UnreadableCase{head + before_value + R"("abc)", "unterminated string" + at(value_at)},
        UnreadableCase{head + before_value + R"("ab\)", "invalid escape" + at(value_at + 3)},
        UnreadableCase{head + before_value + R"("\x"}]})", "invalid escape" + at(value_at + 1)},
        UnreadableCase{head + before_value + R"("\u12G4"}]})",
                       "invalid \\u escape" + at(value_at + 1)},
        UnreadableCase{head + before_value + R"("\ud800"}]})", "lone surrogate" + at(value_at + 1)},
        UnreadableCase{head + before_value + R"("\ud800\u0041"}]})",
                       "lone surrogate" + at(value_at + 1)},
        UnreadableCase{head + before_value + R"("\udc00\ud800"}]})",
                       "lone surrogate" + at(value_at + 1)},
        UnreadableCase{head + before_value + "\"a\tb\"}]}",
                       "control character in a string" + at(value_at + 2)},
        UnreadableCase{head + before_value + "\"\xC0\xAF\"}]}", "invalid UTF-8" + at(value_at + 1)},
        UnreadableCase{head + before_value + "\"\xED\xA0\x80\"}]}",
                       "invalid UTF-8" + at(value_at + 1)},
        UnreadableCase{head + before_value + "\"\xE2\x82", "invalid UTF-8" + at(value_at + 1)}));

// Three levels are the report's own: its object, the checks and a check.
std::string nested_in_a_check(std::size_t levels) {
    return head + R"({"id":"a","status":"s","value":null,"line":)" + std::string(levels, '[') +
           std::string(levels, ']') + "}]}";
}

TEST(ReportSummary, NestingIsBounded) {
    EXPECT_TRUE(summarise_reports({{"r.json", nested_in_a_check(61)}}).unreadable_reports.empty());
    EXPECT_EQ(summarise_reports({{"r.json", nested_in_a_check(62)}}).unreadable_reports.size(), 1u);
    const std::string hostile = R"({"text":)" + std::string(1000000, '[');
    EXPECT_EQ(summarise_reports({{"r.json", hostile}}).unreadable_reports,
              std::vector<std::string>{"r.json: not a report: nesting deeper than 64" + at(71)});
}

TEST(ReportSummary, EveryCutOfAReportIsUnreadable) {
    const std::string whole = report("WS\\u00e9", check("settings_tree", "found", R"("a\"b")") +
                                                      "," + check("n", "count", "12"));
    ASSERT_TRUE(summarise_reports({{"r.json", whole}}).unreadable_reports.empty());
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_EQ(
            summarise_reports({{"r.json", whole.substr(0, length)}}).unreadable_reports.size(), 1u)
            << length;
}

}  // namespace
}  // namespace tarnwell::test
