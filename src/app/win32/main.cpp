// tarnwell_env: writes the environment report of a Tarnwell workstation into its one
// window, or with "/report FILE" into a file for scripts; "/summary FOLDER FILE" sums
// up the JSON reports collected from many workstations.
#include "windows_api/windows_api.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/win32/report_switch.h"
#include "app/win32/report_window_win32.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_text.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show_command) {
    tarnwell::restrict_dll_search();
    using tarnwell::CommandLine;
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) arguments.push_back(tarnwell::narrow(__wargv[i]));
    const CommandLine command = tarnwell::parse_command_line(arguments);
    if (command.action == CommandLine::Action::usage) return tarnwell::show_usage();
    if (command.action == CommandLine::Action::version) return tarnwell::show_version();
    if (command.action == CommandLine::Action::unreadable) {
        // No message box: a script must not wait on one.
        tarnwell::write_to_console(tarnwell::usage_text);
        return tarnwell::command_line_unreadable;
    }
    static tarnwell::Win32Platform platform;
    if (command.action == CommandLine::Action::summary)
        return tarnwell::write_summary_to_file(platform, command.report_folder,
                                               command.report_file);
    // The report for a script is written without a window.
    if (command.action == CommandLine::Action::report)
        return tarnwell::write_report_to_file(platform, command.report_file, command.format);

    // The rich-text pane's window class lives in this library.
    if (tarnwell::load_system_library("riched20.dll") == nullptr) {
        MessageBoxW(nullptr, L"The rich-text control (riched20.dll) cannot be loaded.",
                    tarnwell::wide(tarnwell::program_title).c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }
    static tarnwell::ProgramState program;
    static tarnwell::ReportWindowWin32 window(instance, platform, program);

    if (!window.create()) return 1;
    window.load_report();
    window.show(show_command);
    return window.run_until_closed();
}
