#include "app/command_line.h"

#include <cctype>

namespace tarnwell {

const char* const program_version = TARNWELL_VERSION;

const char* const usage_text =
    "Usage: tarnwell_env.exe [/report FILE [/format:text|/format:json]]\r\n"
    "                        [/summary FOLDER FILE] [/version] [/?]\r\n"
    "\r\n"
    "Without arguments the program opens its window with the environment report.\r\n"
    "\r\n"
    "/report FILE    writes the report to FILE without a window or any dialog, and\r\n"
    "                what a message box would have said after it, each message\r\n"
    "                after an empty line. Lines end in CR LF. FILE must not exist;\r\n"
    "                it is never replaced.\r\n"
    "/format:json    writes FILE as a JSON document instead: who wrote it, the\r\n"
    "                report's text and messages, and one check per report line\r\n"
    "                (docs/report.schema.json). /format:text is the default.\r\n"
    "/summary FOLDER FILE\r\n"
    "                writes FILE as a CSV table of every *.json report in FOLDER:\r\n"
    "                one row per report, one column per check.\r\n"
    "/version        prints the version.\r\n"
    "/?              shows this text.\r\n"
    "\r\n"
    "Switches start with / or -, in any letter case.\r\n"
    "\r\n"
    "Exit codes of /report and /summary:\r\n"
    "  0  the file was written\r\n"
    "  1  the file was written, with messages (/summary: a report was left out)\r\n"
    "  2  the file exists already: collected before\r\n"
    "  3  the command line could not be read\r\n"
    "  4  the file could not be created: missing folder, no rights, share down\r\n";

const char* const usage_box_text =
    "tarnwell_env.exe [/report FILE [/format:json]] [/summary FOLDER FILE] [/version]\r\n"
    "\r\n"
    "Without arguments the program opens its window with the environment report.\r\n"
    "\r\n"
    "/report FILE writes the report to FILE without a window or any dialog, with what "
    "a message box would have said after it. FILE must not exist.\r\n"
    "\r\n"
    "/format:json writes the report as a JSON document, with one check per report "
    "line.\r\n"
    "\r\n"
    "/summary FOLDER FILE writes a CSV table of every JSON report in FOLDER.\r\n"
    "\r\n"
    "/version prints the version.\r\n"
    "\r\n"
    "Exit codes: 0 written; 1 written with messages; 2 the file exists already; "
    "3 the command line could not be read; 4 the file could not be created.\r\n";

namespace {

// True when the argument is the switch of that name: "/name" or "-name", any case.
bool is_switch(const std::string& argument, const std::string& name) {
    if (argument.size() != name.size() + 1 || (argument[0] != '/' && argument[0] != '-'))
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(argument[i + 1])) != name[i]) return false;
    return true;
}

// True when the argument is one of the program's switches, which a missing FILE or
// FOLDER would leave in its place.
bool is_any_switch(const std::string& argument) {
    for (const char* name : {"report", "summary", "version", "?", "format:json", "format:text"})
        if (is_switch(argument, name)) return true;
    return false;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& arguments) {
    using Action = CommandLine::Action;
    CommandLine parsed;
    const std::size_t n = arguments.size();
    if (n == 0) return parsed;
    const auto named = [&](std::size_t i) {
        return i < n && !arguments[i].empty() && !is_any_switch(arguments[i]);
    };
    parsed.action = Action::unreadable;
    if (n == 1 && is_switch(arguments[0], "?")) {
        parsed.action = Action::usage;
    } else if (n == 1 && (is_switch(arguments[0], "version") || arguments[0] == "--version")) {
        parsed.action = Action::version;
    } else if ((n == 2 || n == 3) && is_switch(arguments[0], "report") && named(1)) {
        if (n == 3 && is_switch(arguments[2], "format:json")) {
            parsed.format = CommandLine::Format::json;
        } else if (n == 3 && !is_switch(arguments[2], "format:text")) {
            return parsed;
        }
        parsed.action = Action::report;
        parsed.report_file = arguments[1];
    } else if (n == 3 && is_switch(arguments[0], "summary") && named(1) && named(2)) {
        parsed.action = Action::summary;
        parsed.report_folder = arguments[1];
        parsed.report_file = arguments[2];
    }
    return parsed;
}

std::string with_crlf_line_ends(const std::string& text) {
    std::string file;
    file.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            file += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            file += c;
        }
    }
    return file;
}

std::string report_with_messages(const std::string& report,
                                 const std::vector<std::string>& messages) {
    std::string text = report;
    for (const std::string& message : messages)
        text += "\r\r" + message;
    return text;
}

}  // namespace tarnwell
