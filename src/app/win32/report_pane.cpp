#include "app/win32/report_pane.h"

#include "windows_api/windows_api.h"
#include <commctrl.h>
#include <richedit.h>

#include <vector>

#include "platform/win32/win32_text.h"

namespace tarnwell {

namespace {

constexpr UINT_PTR pane_subclass_id = 1;
// The pane's texts go in and come out as UTF-16, the code page that holds them all.
constexpr UINT utf16_code_page = 1200;

// Where a context menu asked for from the keyboard opens: at the caret, in screen
// coordinates.
LPARAM caret_point(HWND pane) {
    POINT caret = {};
    if (!GetCaretPos(&caret)) caret = {0, 0};
    ClientToScreen(pane, &caret);
    return MAKELPARAM(caret.x, caret.y);
}

}  // namespace

bool ReportPane::create(HWND parent, int control_id, HINSTANCE instance) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_BORDER |
                        ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_READONLY;
    pane_ = CreateWindowExW(0, RICHEDIT_CLASSW, L"", style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)), instance,
                            nullptr);
    if (pane_ == nullptr) return false;
    // The report may grow well past the pane's default limit of 32K characters.
    SendMessageW(pane_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    // Each report line on one row, with a horizontal scroll bar for long ones: wrapping a
    // line of a few hundred kilobytes (a long stored setting) takes the rich-text box
    // minutes, a row of a megabyte well under a second.
    SendMessageW(pane_, EM_SETTARGETDEVICE, 0, 1);
    return SetWindowSubclass(pane_, subclass_procedure, pane_subclass_id, 0) != FALSE;
}

std::string ReportPane::text() const {
    if (gathered_) return *gathered_;
    // In UTF-16 (code page 1200), which holds every character the pane does.
    GETTEXTLENGTHEX length_query = {GTL_PRECISE | GTL_NUMCHARS, utf16_code_page};
    const LRESULT length =
        SendMessageW(pane_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length_query), 0);
    if (length <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    GETTEXTEX text_query = {};
    text_query.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    text_query.flags = GT_DEFAULT;
    text_query.codepage = utf16_code_page;
    const LRESULT copied = SendMessageW(pane_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&text_query),
                                        reinterpret_cast<LPARAM>(buffer.data()));
    return narrow(std::wstring_view(buffer.data(),
                                    static_cast<std::size_t>(copied > 0 ? copied : 0)));
}

void ReportPane::set_text(const std::string& text) {
    if (gathered_) {
        *gathered_ = text;
        return;
    }
    const std::wstring unicode = wide(text);
    SETTEXTEX how = {ST_DEFAULT, utf16_code_page};
    SendMessageW(pane_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                 reinterpret_cast<LPARAM>(unicode.c_str()));
}

void ReportPane::append(const std::string& tail) {
    if (gathered_) {
        *gathered_ += tail;
        return;
    }
    GETTEXTLENGTHEX length_query = {GTL_PRECISE | GTL_NUMCHARS, utf16_code_page};
    const LRESULT end =
        SendMessageW(pane_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length_query), 0);
    CHARRANGE at_end = {static_cast<LONG>(end), static_cast<LONG>(end)};
    SendMessageW(pane_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&at_end));
    // Inserted in place of the (empty) selection, with the same conversion as a whole text.
    const std::wstring unicode = wide(tail);
    SETTEXTEX how = {ST_SELECTION, utf16_code_page};
    SendMessageW(pane_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                 reinterpret_cast<LPARAM>(unicode.c_str()));
}

void ReportPane::gather_changes() {
    if (!gathered_) gathered_ = text();
}

void ReportPane::apply_gathered() {
    if (!gathered_) return;
    const std::string text = std::move(*gathered_);
    gathered_.reset();
    set_text(text);
}

void ReportPane::copy_selection() { SendMessageW(pane_, WM_COPY, 0, 0); }

void ReportPane::select_all() {
    CHARRANGE all = {0, -1};
    SendMessageW(pane_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
}

void ReportPane::show_start() {
    CHARRANGE start = {0, 0};
    SendMessageW(pane_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    SendMessageW(pane_, EM_SCROLLCARET, 0, 0);
}

LRESULT CALLBACK ReportPane::subclass_procedure(HWND pane, UINT message, WPARAM w, LPARAM l,
                                                UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_GETDLGCODE: {
        // Arrows and characters (Ctrl+A, Ctrl+C) stay with the pane; Tab, Escape and
        // Enter go to the window's keyboard handling. Entering the pane keeps the
        // reader's selection rather than selecting the whole report.
        const LRESULT wanted = DefSubclassProc(pane, message, w, l);
        return wanted & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | DLGC_HASSETSEL);
    }
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
    case EM_PASTESPECIAL:
        // Editing commands, whoever sends them: some rich-text boxes carry out a few
        // of them even when read-only.
        return 0;
    case WM_CONTEXTMENU:
        SendMessageW(GetParent(pane), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pane),
                     l == -1 ? caret_point(pane) : l);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(pane, subclass_procedure, pane_subclass_id);
        break;
    default:
        break;
    }
    return DefSubclassProc(pane, message, w, l);
}

}  // namespace tarnwell
