#include "platform/win32/win32_desktop.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/owned.h"
#include "platform/win32/win32_text.h"

namespace tarnwell {

const char* const program_title = "Tarnwell System Files";

namespace {

std::string format_now(const SYSTEMTIME& now, bool date) {
    char buffer[128] = {};
    const int length =
        date ? GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, buffer,
                              sizeof buffer)
             : GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer) : std::string();
}

}  // namespace

void Win32Desktop::message_box(const std::string& text, MessageKind kind) {
    if (recorded_messages != nullptr) {
        recorded_messages->push_back(text);
        return;
    }
    const UINT icon = kind == MessageKind::error ? MB_ICONERROR : MB_ICONINFORMATION;
    MessageBoxA(static_cast<HWND>(owner_window), text.c_str(), program_title, MB_OK | icon);
}

Status Win32Desktop::set_clipboard_text(const std::string& text) {
    if (!OpenClipboard(static_cast<HWND>(owner_window)))
        return Status(static_cast<long>(GetLastError()), "Can't open Clipboard");
    EmptyClipboard();
    OwnedGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    bool placed = false;
    if (memory) {
        if (void* target = GlobalLock(memory.get())) {
            std::memcpy(target, text.c_str(), text.size() + 1);
            GlobalUnlock(memory.get());
            // The clipboard owns the memory once it holds it.
            placed = SetClipboardData(CF_TEXT, memory.get()) != nullptr;
            if (placed) memory.release();
        }
    }
    CloseClipboard();
    if (!placed) return Status(ERROR_NOT_ENOUGH_MEMORY, "Out of memory");
    return Status();
}

void Win32Desktop::process_pending_events() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string Win32Desktop::general_date_now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return format_now(now, true) + " " + format_now(now, false);
}

void Win32Desktop::end_program() { ExitProcess(0); }

}  // namespace tarnwell
