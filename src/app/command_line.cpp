#include "app/command_line.h"

#include <cctype>

namespace tarnwell {

const char* const usage_text =
    "Usage: tarnwell_env.exe [/report FILE]\r\n"
    "\r\n"
    "Without arguments the program opens its window with the environment report.\r\n"
    "\r\n"
    "/report FILE  writes the report to FILE without a window or any dialog: the\r\n"
    "              same text Copy Text puts on the clipboard (lines end in CR). What a\r\n"
    "              message box would have said follows the report, each message\r\n"
    "              after an empty line. FILE must not exist; it is never replaced.\r\n"
    "/?            shows this text.\r\n"
    "\r\n"
    "Switches start with / or -, in any letter case.\r\n"
    "\r\n"
    "Exit codes of /report:\r\n"
    "  0  the report was written\r\n"
    "  1  the report was written, and messages follow it\r\n"
    "  2  the file could not be written, or it already exists\r\n"
    "  3  the command line could not be read\r\n";

namespace {

// True when the argument is the switch of that name: "/name" or "-name", any case.
bool is_switch(const std::string& argument, const std::string& name) {
    if (argument.size() != name.size() + 1 || (argument[0] != '/' && argument[0] != '-'))
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(argument[i + 1])) != name[i]) return false;
    return true;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& arguments) {
    CommandLine parsed;
    if (arguments.empty()) return parsed;
    if (arguments.size() == 1 && is_switch(arguments[0], "?")) {
        parsed.action = CommandLine::Action::usage;
    } else if (arguments.size() == 2 && is_switch(arguments[0], "report") &&
               !arguments[1].empty()) {
        parsed.action = CommandLine::Action::report;
        parsed.report_file = arguments[1];
    } else {
        parsed.action = CommandLine::Action::unreadable;
    }
    return parsed;
}

std::string report_with_messages(const std::string& report,
                                 const std::vector<std::string>& messages) {
    std::string text = report;
    for (const std::string& message : messages) text += "\r\r" + message;
    return text;
}

}  // namespace tarnwell
