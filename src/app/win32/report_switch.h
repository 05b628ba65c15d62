#pragma once
// The runs a script asks for on the command line: the report written to a file with no
// window and no dialog, and the usage.
#include <string>

#include "app/win32/report_window_win32.h"

namespace tarnwell {

// Runs the load handler in the unseen window, then writes the pane's text and what any
// message box would have said to a new file. Returns the exit code of "/report".
int write_report_to_file(ReportWindowWin32& window, Win32Platform& platform,
                         const std::string& path);

// Shows the usage in a message box and, when there is one, on the console.
int show_usage();

// Writes to the console the program was started from, or to its redirected standard
// output; nothing when it has neither.
void write_to_console(const std::string& text);

}  // namespace tarnwell
