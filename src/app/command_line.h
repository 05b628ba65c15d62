#pragma once
// The program's command line: no arguments opens the window; "/report FILE" writes the
// report to a file without a window or a dialog, for scripts, as text or as JSON;
// "/summary FOLDER FILE" sums up the JSON reports of a folder as a table; "/version"
// and "/?" print what they name. Switches start with "/" or "-", in any letter case.
#include <string>
#include <vector>

namespace tarnwell {

struct CommandLine {
    enum class Action { window, report, summary, version, usage, unreadable };
    enum class Format { text, json };
    Action action = Action::window;
    std::string report_file;     // for Action::report and Action::summary
    Format format = Format::text;  // for Action::report
    std::string report_folder;   // for Action::summary
};

// The arguments after the program's name.
CommandLine parse_command_line(const std::vector<std::string>& arguments);

// The exit codes of "/report" and "/summary", as the usage lists them.
enum ReportExitCode : int {
    report_written = 0,
    report_written_with_messages = 1,
    report_exists_already = 2,
    command_line_unreadable = 3,
    report_not_created = 4,
};

// The version in the binaries' version information, "1.0.0".
extern const char* const program_version;

// What "/?" prints on the console, lines separated by CR LF and laid out in columns.
extern const char* const usage_text;
// What "/?" shows in its message box: the same, laid out for a proportional font.
extern const char* const usage_box_text;

// A text file as written to disk: every line break CR LF. The report's own line breaks
// are single CRs, as its window holds them.
std::string with_crlf_line_ends(const std::string& text);

// The report as "/report" writes it: the report, then what each message box would have
// said, each on its own line after an empty line (CR line breaks, as in the report).
std::string report_with_messages(const std::string& report,
                                 const std::vector<std::string>& messages);

}  // namespace tarnwell
