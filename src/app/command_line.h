#pragma once
// The program's command line: no arguments opens the window; "/report FILE" writes the
// report to a file without a window or a dialog, for scripts; "/?" shows the usage.
// Switches start with "/" or "-", in any letter case.
#include <string>
#include <vector>

namespace tarnwell {

struct CommandLine {
    enum class Action { window, report, usage, unreadable };
    Action action = Action::window;
    std::string report_file;  // for Action::report
};

// The arguments after the program's name.
CommandLine parse_command_line(const std::vector<std::string>& arguments);

// The exit codes of "/report", as the usage lists them.
enum ReportExitCode : int {
    report_written = 0,
    report_written_with_messages = 1,
    report_not_written = 2,
    command_line_unreadable = 3,
};

// What "/?" shows, lines separated by CR LF.
extern const char* const usage_text;

// The report as "/report" writes it: the report, then what each message box would have
// said, each on its own line after an empty line (CR line breaks, as in the report).
std::string report_with_messages(const std::string& report,
                                 const std::vector<std::string>& messages);

}  // namespace tarnwell
