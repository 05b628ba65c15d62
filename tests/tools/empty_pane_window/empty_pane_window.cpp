// The report window of tarnwell_env with its pane left empty: the same program start,
// libraries, window, controls and fonts, without the report. The start-up benchmark
// measures the report's own cost against it.
#include "windows_api/windows_api.h"

#include "app/win32/report_window_win32.h"
#include "platform/win32/dll_search.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show_command) {
    tarnwell::restrict_dll_search();
    if (tarnwell::load_system_library("riched20.dll") == nullptr) return 1;
    static tarnwell::Win32Platform platform;
    static tarnwell::ProgramState program;
    static tarnwell::ReportWindowWin32 window(instance, platform, program);
    if (!window.create()) return 1;
    window.show(show_command);
    return window.run_until_closed();
}
