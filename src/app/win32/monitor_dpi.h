#pragma once
// The DPI a window is drawn at and the frame it needs at that DPI. The per-monitor calls
// exist from Windows 10 (1607) on and are looked up at run time; on older systems the
// screen's one DPI stands in, as those systems scale per screen, not per monitor.
#include "windows_api/windows_api.h"

namespace tarnwell {

// The DPI of the monitor the window is on (the screen's DPI where Windows has no
// per-monitor DPI).
int dpi_of_window(HWND window);

// The size of a window whose client area has the given size, with the frame of the
// given styles at the given DPI.
SIZE window_size_for_client(int client_width, int client_height, DWORD style, DWORD ex_style,
                            int dpi);

// The work area (the monitor less the taskbar) of the monitor the window is on.
RECT work_area_of(HWND window);

}  // namespace tarnwell
