#include "platform/win32/win32_desktop.h"

#include "windows_api/windows_api.h"

#include <cstring>

#include "platform/win32/owned.h"
#include "platform/win32/win32_text.h"

namespace tarnwell {

const char* const program_title = "Tarnwell System Files";

namespace {

std::string format_now(const SYSTEMTIME& now, bool date) {
    wchar_t buffer[128] = {};
    const int length =
        date ? GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, buffer, 128)
             : GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, buffer, 128);
    return length > 0 ? narrow(buffer) : std::string();
}

}  // namespace

void Win32Desktop::message_box(const std::string& text, MessageKind kind) {
    if (recorded_messages != nullptr) {
        recorded_messages->push_back(text);
        return;
    }
    const UINT icon = kind == MessageKind::error ? MB_ICONERROR : MB_ICONINFORMATION;
    MessageBoxW(static_cast<HWND>(owner_window), wide(text).c_str(), wide(program_title).c_str(),
                MB_OK | icon);
}

Status Win32Desktop::set_clipboard_text(const std::string& text) {
    OpenedClipboard clipboard;
    if (!clipboard.open(static_cast<HWND>(owner_window)))
        return Status(static_cast<long>(GetLastError()), "Can't open Clipboard");
    EmptyClipboard();
    // As UTF-16, which keeps every character; Windows gives ANSI readers (CF_TEXT)
    // their form of it.
    const std::wstring unicode = wide(text);
    const std::size_t bytes = (unicode.size() + 1) * sizeof(wchar_t);
    OwnedGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    bool placed = false;
    if (memory) {
        if (void* target = GlobalLock(memory.get())) {
            std::memcpy(target, unicode.c_str(), bytes);
            GlobalUnlock(memory.get());
            // The clipboard owns the memory once it holds it.
            placed = SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr;
            if (placed) memory.release();
        }
    }
    if (!placed) return Status(ERROR_NOT_ENOUGH_MEMORY, "Out of memory");
    return Status();
}

void Win32Desktop::process_pending_events() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::string Win32Desktop::general_date_now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return format_now(now, true) + " " + format_now(now, false);
}

void Win32Desktop::end_program() { ExitProcess(0); }

}  // namespace tarnwell
