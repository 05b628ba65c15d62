// e2e_probe: looks at the running program's windows from outside, as a person would,
// and tells the end-to-end scripts where things are on the screen.
//   e2e_probe clipboard FILE          waits for the clipboard's plain text, writes it in
//                                     UTF-8 into FILE and empties the clipboard
//   e2e_probe dialog TITLE FILE       waits for a message box, writes its text in UTF-8
//                                     to FILE and presses its OK button
//   e2e_probe buttons CAPTION         "caption enabled|disabled" for each button
//   e2e_probe geometry CAPTION        the screen, the work area, the window, its client
//                                     area and each control, in screen pixels
//   e2e_probe where CAPTION CONTROL   the centre of a control ("pane" or a button's
//                                     caption) in screen pixels, to click it
//   e2e_probe focus CAPTION           the control that has the keyboard focus
//   e2e_probe menu                    waits (up to two seconds) until a context menu is
//                                     open
//   e2e_probe deny-read SUBKEY        denies everyone reading the key below
//                                     HKEY_CURRENT_USER, as a policy's lock does
//   e2e_probe reglink KEY NAME        makes HKCU\KEY\NAME a registry link back to
//                                     HKCU\KEY, as any user can in their own hive
// CAPTION names the program's main window; a message box with the same title is not it.
// Texts in and out are UTF-8; the windows are asked for theirs in UTF-16.
#include "windows_api/windows_api.h"
// After windows.h, whose types it uses.
#include <sddl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "common/utf8.h"
#include "platform/win32/owned.h"

namespace {

std::string utf8(const wchar_t* text, std::size_t length) {
    return tarnwell::utf8_from_utf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string utf8(const wchar_t* text) { return utf8(text, wcslen(text)); }

std::wstring wide(const std::string& text) {
    const std::u16string converted = tarnwell::utf16_from_utf8(text);
    return std::wstring(converted.begin(), converted.end());
}

bool write_file(const std::string& path, const std::string& text) {
    FILE* out = _wfopen(wide(path).c_str(), L"wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && written;
}

std::string class_of(HWND window) {
    wchar_t type[64] = {};
    GetClassNameW(window, type, 64);
    return utf8(type);
}

std::string text_of(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return utf8(text);
}

// Waits (up to thirty seconds) until the clipboard holds text, so that a copy still in
// the program's queue is not missed, then takes the text: the clipboard is emptied, and
// the next read sees only a later copy, never this one again.
int read_clipboard(const std::string& path) {
    for (int attempt = 0; attempt < 300; ++attempt, Sleep(100)) {
        std::string text;
        bool have_text = false;
        {
            tarnwell::OpenedClipboard clipboard;
            if (!clipboard.open(nullptr)) continue;
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                if (const auto* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
                    text = utf8(locked, wcsnlen(locked, GlobalSize(data) / sizeof(wchar_t)));
                    have_text = true;
                    GlobalUnlock(data);
                }
            }
            if (have_text) EmptyClipboard();
        }
        if (have_text) return write_file(path, text) ? 0 : 4;
    }
    return 2;
}

struct Texts {
    std::string message;
    HWND ok = nullptr;
};

BOOL CALLBACK collect_dialog_text(HWND child, LPARAM param) {
    auto* texts = reinterpret_cast<Texts*>(param);
    const std::string type = class_of(child);
    const std::string text = text_of(child);
    if (lstrcmpiW(wide(type).c_str(), L"Static") == 0 && !text.empty()) {
        if (!texts->message.empty()) texts->message += "\n";
        texts->message += text;
    } else if (lstrcmpiW(wide(type).c_str(), L"Button") == 0 && GetDlgCtrlID(child) == IDOK) {
        texts->ok = child;
    }
    return TRUE;
}

int read_dialog(const std::string& title, const std::string& path) {
    for (int attempt = 0; attempt < 300; ++attempt) {
        HWND dialog = FindWindowW(L"#32770", wide(title).c_str());
        if (dialog != nullptr) {
            Texts texts;
            EnumChildWindows(dialog, collect_dialog_text, reinterpret_cast<LPARAM>(&texts));
            if (!write_file(path, texts.message)) return 4;
            if (texts.ok != nullptr)
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(texts.ok));
            else
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            // Wait until the box has gone, so the next step sees the next box.
            for (int wait = 0; wait < 100 && IsWindow(dialog); ++wait) Sleep(50);
            return 0;
        }
        Sleep(100);
    }
    return 2;
}

// The main window: the top-level window with the caption that is not a dialog box.
struct MainWindowSearch {
    const char* caption;
    HWND found = nullptr;
};

BOOL CALLBACK match_main_window(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<MainWindowSearch*>(param);
    if (text_of(window) == search->caption && class_of(window) != "#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND main_window(const char* caption) {
    MainWindowSearch search{caption};
    EnumWindows(match_main_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A control's name for the scripts: "pane" for the rich-text box, "frame" for the group
// box, a button's caption otherwise.
std::string control_name(HWND control) {
    const std::string type = class_of(control);
    if (type.rfind("RichEdit", 0) == 0 || type.rfind("RICHEDIT", 0) == 0) return "pane";
    if (lstrcmpiW(wide(type).c_str(), L"Button") == 0 &&
        (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
        return "frame";
    return text_of(control);
}

BOOL CALLBACK collect_child(HWND child, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

std::vector<HWND> controls_of(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, collect_child, reinterpret_cast<LPARAM>(&children));
    return children;
}

void print_rect(const char* label, const RECT& rect) {
    std::printf("%s %ld %ld %ld %ld\n", label, static_cast<long>(rect.left),
                static_cast<long>(rect.top), static_cast<long>(rect.right),
                static_cast<long>(rect.bottom));
}

int print_buttons(const char* caption) {
    HWND window = main_window(caption);
    if (window == nullptr) return 2;
    for (HWND control : controls_of(window)) {
        const std::string name = control_name(control);
        if (name == "pane" || name == "frame") continue;
        std::printf("%s %s\n", name.c_str(), IsWindowEnabled(control) ? "enabled" : "disabled");
    }
    return 0;
}

int print_geometry(const char* caption) {
    HWND window = main_window(caption);
    if (window == nullptr) return 2;
    std::printf("screen %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    print_rect("work", monitor.rcWork);
    RECT rect = {};
    GetWindowRect(window, &rect);
    print_rect("window", rect);
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    print_rect("client", rect);
    std::printf("state %s\n", IsZoomed(window) ? "maximized" : IsIconic(window) ? "minimized"
                                                                                : "normal");
    // Captions hold blanks, so the control lines are separated by "|".
    for (HWND control : controls_of(window)) {
        GetWindowRect(control, &rect);
        std::printf("control|%s|%s|%ld|%ld|%ld|%ld\n", control_name(control).c_str(),
                    IsWindowEnabled(control) ? "enabled" : "disabled", static_cast<long>(rect.left),
                    static_cast<long>(rect.top), static_cast<long>(rect.right),
                    static_cast<long>(rect.bottom));
    }
    return 0;
}

int print_centre(const char* caption, const char* wanted) {
    HWND window = main_window(caption);
    if (window == nullptr) return 2;
    for (HWND control : controls_of(window)) {
        if (control_name(control) != wanted) continue;
        RECT rect = {};
        GetWindowRect(control, &rect);
        std::printf("%ld %ld\n", static_cast<long>((rect.left + rect.right) / 2),
                    static_cast<long>((rect.top + rect.bottom) / 2));
        return 0;
    }
    return 3;
}

int print_focus(const char* caption) {
    HWND window = main_window(caption);
    if (window == nullptr) return 2;
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread)) return 3;
    if (thread.hwndFocus == nullptr) {
        std::printf("(none)\n");
    } else {
        std::printf("%s\n", control_name(thread.hwndFocus).c_str());
    }
    return 0;
}

int wait_for_menu() {
    for (int attempt = 0; attempt < 40; ++attempt) {
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (popup != nullptr && IsWindowVisible(popup)) return 0;
        Sleep(50);
    }
    return 2;
}

// Everyone may change the key but no one may read it: a lookup of its values fails
// with access denied rather than finding nothing.
int deny_read(const std::string& sub_key) {
    tarnwell::OwnedKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(sub_key).c_str(), 0, WRITE_DAC, key.put()) !=
        ERROR_SUCCESS)
        return 2;
    tarnwell::OwnedLocalMemory descriptor;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:(D;;KR;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1,
            reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.put()), nullptr))
        return 3;
    return RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor.get()) ==
                   ERROR_SUCCESS
               ? 0
               : 4;
}

// The current user's SID as text ("S-1-5-21-..."), which names the user's hive below
// \Registry\User; empty when the token cannot tell it.
std::wstring user_sid() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return L"";
    const tarnwell::OwnedHandle token(opened);
    std::vector<BYTE> user(256);
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenUser, user.data(),
                             static_cast<DWORD>(user.size()), &size))
        return L"";
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text))
        return L"";
    const tarnwell::OwnedLocalMemory freed_with(text);
    return text;
}

int make_link(const std::string& key, const std::string& name) {
    const std::wstring sid = user_sid();
    if (sid.empty()) return 2;
    const std::wstring target = L"\\Registry\\User\\" + sid + L"\\" + wide(key);
    tarnwell::OwnedKey link;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, wide(key + "\\" + name).c_str(), 0, nullptr,
                        REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr,
                        link.put(), nullptr) != ERROR_SUCCESS)
        return 3;
    // The link's target is its only value, in UTF-16 without a terminating NUL.
    const LSTATUS set = RegSetValueExW(link.get(), L"SymbolicLinkValue", 0, REG_LINK,
                                       reinterpret_cast<const BYTE*>(target.data()),
                                       static_cast<DWORD>(target.size() * sizeof(wchar_t)));
    return set == ERROR_SUCCESS ? 0 : 4;
}

}  // namespace

int wmain(int argc, wchar_t** wide_argv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(utf8(wide_argv[i]));
    const auto argv = [&](int i) { return arguments[static_cast<std::size_t>(i)].c_str(); };
    const std::string command = argc > 1 ? argv(1) : "";
    if (command == "clipboard" && argc == 3) return read_clipboard(argv(2));
    if (command == "dialog" && argc == 4) return read_dialog(argv(2), argv(3));
    if (command == "buttons" && argc == 3) return print_buttons(argv(2));
    if (command == "geometry" && argc == 3) return print_geometry(argv(2));
    if (command == "where" && argc == 4) return print_centre(argv(2), argv(3));
    if (command == "focus" && argc == 3) return print_focus(argv(2));
    if (command == "menu" && argc == 2) return wait_for_menu();
    if (command == "deny-read" && argc == 3) return deny_read(argv(2));
    if (command == "reglink" && argc == 4) return make_link(argv(2), argv(3));
    std::fprintf(stderr,
                 "usage: e2e_probe clipboard FILE | dialog TITLE FILE | buttons CAPTION |\n"
                 "       geometry CAPTION | where CAPTION CONTROL | focus CAPTION | menu |\n"
                 "       deny-read SUBKEY | reglink KEY NAME\n");
    return 1;
}
