// e2e_probe: looks at the running program's windows from outside, as a person would.
//   e2e_probe clipboard FILE       the clipboard's plain text, byte for byte, into FILE
//   e2e_probe dialog TITLE FILE    waits for a message box, writes its text to FILE and
//                                  presses its OK button
//   e2e_probe buttons CAPTION      prints "caption enabled|disabled" for each button
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool write_file(const char* path, const std::string& text) {
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && written;
}

int read_clipboard(const char* path) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(nullptr)) {
            std::string text;
            bool have_text = false;
            if (HANDLE data = GetClipboardData(CF_TEXT)) {
                if (const char* locked = static_cast<const char*>(GlobalLock(data))) {
                    text.assign(locked, strnlen(locked, GlobalSize(data)));
                    have_text = true;
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
            if (!have_text) return 3;
            return write_file(path, text) ? 0 : 4;
        }
        Sleep(100);
    }
    return 2;
}

struct Texts {
    std::string message;
    HWND ok = nullptr;
};

BOOL CALLBACK collect_dialog_text(HWND child, LPARAM param) {
    auto* texts = reinterpret_cast<Texts*>(param);
    char type[64] = {};
    GetClassNameA(child, type, sizeof type);
    char text[4096] = {};
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(type, "Static") == 0 && text[0] != '\0') {
        if (!texts->message.empty()) texts->message += "\n";
        texts->message += text;
    } else if (lstrcmpiA(type, "Button") == 0 && GetDlgCtrlID(child) == IDOK) {
        texts->ok = child;
    }
    return TRUE;
}

int read_dialog(const char* title, const char* path) {
    for (int attempt = 0; attempt < 300; ++attempt) {
        HWND dialog = FindWindowA("#32770", title);
        if (dialog != nullptr) {
            Texts texts;
            EnumChildWindows(dialog, collect_dialog_text, reinterpret_cast<LPARAM>(&texts));
            if (!write_file(path, texts.message)) return 4;
            if (texts.ok != nullptr)
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(texts.ok));
            else
                PostMessageA(dialog, WM_CLOSE, 0, 0);
            // Wait until the box has gone, so the next step sees the next box.
            for (int wait = 0; wait < 100 && IsWindow(dialog); ++wait) Sleep(50);
            return 0;
        }
        Sleep(100);
    }
    return 2;
}

BOOL CALLBACK print_button(HWND child, LPARAM) {
    char type[64] = {};
    GetClassNameA(child, type, sizeof type);
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(type, "Button") == 0 && (style & BS_TYPEMASK) != BS_GROUPBOX)
        std::printf("%s %s\n", text, IsWindowEnabled(child) ? "enabled" : "disabled");
    return TRUE;
}

int print_buttons(const char* caption) {
    HWND window = FindWindowA(nullptr, caption);
    if (window == nullptr) return 2;
    EnumChildWindows(window, print_button, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "clipboard" && argc == 3) return read_clipboard(argv[2]);
    if (command == "dialog" && argc == 4) return read_dialog(argv[2], argv[3]);
    if (command == "buttons" && argc == 3) return print_buttons(argv[2]);
    std::fprintf(stderr, "usage: e2e_probe clipboard FILE | dialog TITLE FILE | buttons CAPTION\n");
    return 1;
}
