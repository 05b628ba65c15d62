// Opens one empty window captioned "Empty Window" and waits until it is closed.
#include <windows.h>

namespace {
LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    WNDCLASSA type = {};
    type.lpfnWndProc = procedure;
    type.hInstance = instance;
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = "EmptyWindow";
    RegisterClassA(&type);
    HWND window = CreateWindowA("EmptyWindow", "Empty Window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 888, 861, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show_command);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
