// tarnwell_env: writes the environment report of a Tarnwell workstation into its one
// window.
#include <windows.h>

#include "app/win32/report_window_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    // The rich-text pane's window class lives in this library.
    if (LoadLibraryA("riched20.dll") == nullptr) {
        MessageBoxA(nullptr, "The rich-text control (riched20.dll) cannot be loaded.",
                    tarnwell::program_title, MB_OK | MB_ICONERROR);
        return 1;
    }
    static tarnwell::Win32Platform platform;
    static tarnwell::ProgramState program;
    static tarnwell::ReportWindowWin32 window(instance, platform, program);
    if (!window.open(show_command)) return 1;

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (window.translate_keyboard(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
