#include "app/win32/monitor_dpi.h"

#include "platform/win32/owned.h"

namespace tarnwell {

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// A user32 function that older Windows lacks, or null.
template <typename Call>
Call user32_function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FARPROC found = user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
    // Through a plain function pointer type, as the compiler asks for any cast of FARPROC.
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(found));
}

int screen_dpi() {
    const OwnedScreenDc screen(GetDC(nullptr));
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

int dpi_of_window(HWND window) {
    static const auto get_dpi_for_window = user32_function<GetDpiForWindowCall>("GetDpiForWindow");
    if (get_dpi_for_window != nullptr) {
        const UINT dpi = get_dpi_for_window(window);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    return screen_dpi();
}

SIZE window_size_for_client(int client_width, int client_height, DWORD style, DWORD ex_style,
                            int dpi) {
    static const auto adjust_for_dpi =
        user32_function<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
    RECT frame = {0, 0, client_width, client_height};
    if (adjust_for_dpi == nullptr ||
        !adjust_for_dpi(&frame, style, FALSE, ex_style, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&frame, style, FALSE, ex_style);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

RECT work_area_of(HWND window) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return monitor.rcWork;
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

}  // namespace tarnwell
