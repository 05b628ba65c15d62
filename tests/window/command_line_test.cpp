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
    };
    for (const Case& c : cases) {
        const CommandLine parsed = parse_command_line(c.arguments);
        std::string shown;
        for (const std::string& argument : c.arguments) shown += argument + " ";
        EXPECT_EQ(parsed.action, c.action) << shown;
        EXPECT_EQ(parsed.report_file, c.file) << shown;
    }
}

TEST(CommandLineTest, MessagesFollowTheReportEachAfterAnEmptyLine) {
    EXPECT_EQ(report_with_messages("head\r\rline", {}), "head\r\rline");
    EXPECT_EQ(report_with_messages("head\r\rline", {"first", "second"}),
              "head\r\rline\r\rfirst\r\rsecond");
}

TEST(CommandLineTest, TheUsageNamesEveryExitCode) {
    const std::string usage = usage_text;
    for (const char* code : {"  0  ", "  1  ", "  2  ", "  3  "})
        EXPECT_NE(usage.find(code), std::string::npos) << code;
    EXPECT_EQ(usage.find('\n', 0) - 1, usage.find('\r', 0));
}

}  // namespace
}  // namespace tarnwell::test
