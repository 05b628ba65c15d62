#include "app/command_line.h"

#include <gtest/gtest.h>

namespace tarnwell::test {
namespace {

using Action = CommandLine::Action;

TEST(CommandLineTest, ReadsTheSwitchesInEitherFormAndAnyCase) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::string file;
    };
    const Case cases[] = {
        {{}, Action::window, ""},
        {{"/report", "C:\\out\\r.txt"}, Action::report, "C:\\out\\r.txt"},
        {{"-REPORT", "r.txt"}, Action::report, "r.txt"},
        {{"/RePort", "-r.txt"}, Action::report, "-r.txt"},
        {{"/?"}, Action::usage, ""},
        {{"-?"}, Action::usage, ""},
        {{"/report"}, Action::unreadable, ""},
        {{"/report", ""}, Action::unreadable, ""},
        {{"/report", "a.txt", "b.txt"}, Action::unreadable, ""},
        {{"report", "a.txt"}, Action::unreadable, ""},
        {{"/reports", "a.txt"}, Action::unreadable, ""},
        {{"/?", "a.txt"}, Action::unreadable, ""},
        {{"a.txt"}, Action::unreadable, ""},
        {{"/"}, Action::unreadable, ""},
        {{"-report", "r.txt", "/FORMAT:TEXT"}, Action::report, "r.txt"},
        {{"/report", "r.txt", "/format:xml"}, Action::unreadable, ""},
        {{"/report", "r.txt", "/format:"}, Action::unreadable, ""},
        {{"/report", "/format:json"}, Action::unreadable, ""},
        {{"/summary", "/report", "s.csv"}, Action::unreadable, ""},
        {{"/summary", "folder"}, Action::unreadable, ""},
        {{"/summary", "", "s.csv"}, Action::unreadable, ""},
        {{"/version"}, Action::version, ""},
        {{"--version"}, Action::version, ""},
        {{"-VERSION"}, Action::version, ""},
        {{"/version", "x"}, Action::unreadable, ""},
    };
    for (const Case& c : cases) {
        const CommandLine parsed = parse_command_line(c.arguments);
        std::string shown;
        for (const std::string& argument : c.arguments)
            shown += argument + " ";
        EXPECT_EQ(parsed.action, c.action) << shown;
        EXPECT_EQ(parsed.report_file, c.file) << shown;
    }
}

TEST(CommandLineTest, ReadsTheFormatAndTheSummarysFolder) {
    const CommandLine json = parse_command_line({"/report", "r.json", "-Format:JSON"});
    EXPECT_EQ(json.action, Action::report);
    EXPECT_EQ(json.format, CommandLine::Format::json);
    EXPECT_EQ(parse_command_line({"/report", "r.txt"}).format, CommandLine::Format::text);
    const CommandLine summary = parse_command_line({"/summary", "\\\\srv\\share", "s.csv"});
    EXPECT_EQ(summary.action, Action::summary);
    EXPECT_EQ(summary.report_folder, "\\\\srv\\share");
    EXPECT_EQ(summary.report_file, "s.csv");
}

TEST(CommandLineTest, MessagesFollowTheReportEachAfterAnEmptyLine) {
    EXPECT_EQ(report_with_messages("head\r\rline", {}), "head\r\rline");
    EXPECT_EQ(report_with_messages("head\r\rline", {"first", "second"}),
              "head\r\rline\r\rfirst\r\rsecond");
}

TEST(CommandLineTest, TheUsageNamesEveryExitCodeInBothLayouts) {
    const std::string usage = usage_text;
    for (const char* code : {"  0  ", "  1  ", "  2  ", "  3  ", "  4  "})
        EXPECT_NE(usage.find(code), std::string::npos) << code;
    const std::string box = usage_box_text;
    for (const char* code : {"0 written", "1 written", "2 the", "3 the", "4 the"})
        EXPECT_NE(box.find(code), std::string::npos) << code;
    // The box is laid out for a proportional font: no column padding.
    EXPECT_EQ(box.find("   "), std::string::npos);
    EXPECT_EQ(usage.find('\n', 0) - 1, usage.find('\r', 0));
}

TEST(CommandLineTest, TextFilesEndEveryLineInCrLf) {
    const struct {
        const char* text;
        const char* file;
    } cases[] = {
        {"", ""},
        {"a\rb", "a\r\nb"},
        {"a\r\rb\r", "a\r\n\r\nb\r\n"},
        {"a\r\nb\nc", "a\r\nb\r\nc"},
        {"\n\r", "\r\n\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(with_crlf_line_ends(c.text), c.file) << c.text;
}

}  // namespace
}  // namespace tarnwell::test
