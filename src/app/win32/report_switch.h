#pragma once
// The runs a script asks for on the command line, with no window and no dialog: the
// report written to a file as text or JSON, the summary of a folder of JSON reports, the
// version, and the usage.
#include <string>

#include "app/command_line.h"
#include "platform/win32/win32_platform.h"

namespace tarnwell {

// Writes the report, without a window, to a new file: as text, the report's text as the
// window's pane would hold it and what any message box would have said, with CR LF line
// ends; as JSON, the document for collecting scripts. Returns the exit code of "/report".
int write_report_to_file(Win32Platform& platform, const std::string& path,
                         CommandLine::Format format);

// Writes the CSV summary of the folder's JSON reports to a new file. Returns the exit
// code of "/summary".
int write_summary_to_file(Win32Platform& platform, const std::string& folder,
                          const std::string& path);

// Prints "tarnwell_env <version>".
int show_version();

// Shows the usage in a message box and, when there is one, on the console.
int show_usage();

enum class ConsoleStream { output, error };

// Writes to the console the program was started from, or to its redirected standard
// output or error; nothing when it has neither.
void write_to_console(const std::string& text, ConsoleStream stream = ConsoleStream::output);

}  // namespace tarnwell
