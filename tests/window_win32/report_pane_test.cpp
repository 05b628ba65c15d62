// The report pane under Wine: appends keep exactly what was written, and nothing a user
// does with the keyboard or the clipboard changes the report.
#include "app/win32/report_pane.h"

#include <gtest/gtest.h>
#include "windows_api/windows_api.h"
#include <richedit.h>

#include <string>
#include <vector>

#include "platform/win32/owned.h"
#include "platform/win32/win32_desktop.h"

namespace tarnwell::test {
namespace {

// The clipboard's text in the format asked for: CF_TEXT or CF_UNICODETEXT.
template <class Char>
std::basic_string<Char> clipboard_text(UINT format) {
    std::basic_string<Char> text;
    OpenedClipboard clipboard;
    if (!clipboard.open(nullptr)) return text;
    if (HANDLE data = GetClipboardData(format)) {
        if (const auto* locked = static_cast<const Char*>(GlobalLock(data))) text = locked;
        GlobalUnlock(data);
    }
    return text;
}

class ReportPaneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_NE(LoadLibraryW(L"riched20.dll"), nullptr); }

    void SetUp() override {
        parent.reset(CreateWindowExW(0, L"STATIC", L"pane test", WS_OVERLAPPEDWINDOW, 0, 0, 640,
                                     480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        ASSERT_TRUE(parent.valid());
        ASSERT_TRUE(pane.create(parent.get(), 100, GetModuleHandleW(nullptr)));
        MoveWindow(pane.handle(), 10, 10, 600, 400, FALSE);
    }

    void send(UINT message, WPARAM w = 0, LPARAM l = 0) {
        SendMessageW(pane.handle(), message, w, l);
    }

    OwnedWindow parent;
    ReportPane pane;
};

TEST_F(ReportPaneTest, AppendsGiveExactlyTheTextWritten) {
    const std::string long_line(200000, 'x');
    const std::vector<std::vector<std::string>> reports = {
        {"header\r", "\rfirst", "\r\rafter an empty line", "\r"},
        {"header\r", "\r", "\r", "\r\r", "\rlast"},
        {"", "\rstarts with a break"},
        {"header\r", "\r" + long_line, "\r\rthen more"},
        {"accents \xC3\xA9\xC3\xA8 and a\ttab\r", "\rC:\\Bin\\Tarnwell  ", "\r\r100 %"},
        // Outside every ANSI code page: Dvořák, 数据 and an emoji beyond the BMP.
        {"C:\\users\\Dvo\xC5\x99\xC3\xA1k\r", "\r\xE6\x95\xB0\xE6\x8D\xAE",
         "\r\xF0\x9F\x98\x80 end"},
    };
    for (const std::vector<std::string>& pieces : reports) {
        pane.set_text(pieces.front());
        std::string expected = pieces.front();
        for (std::size_t i = 1; i < pieces.size(); ++i) {
            pane.append(pieces[i]);
            expected += pieces[i];
        }
        EXPECT_EQ(pane.text(), expected) << pieces[1].substr(0, 40);
    }
}

TEST_F(ReportPaneTest, AppendingAfterTheReaderMovedTheCaretStillAddsAtTheEnd) {
    pane.set_text("one\rtwo\rthree");
    CHARRANGE middle = {4, 6};
    send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&middle));
    pane.append("\rfour");
    EXPECT_EQ(pane.text(), "one\rtwo\rthree\rfour");
}

TEST_F(ReportPaneTest, KeysPasteCutAndUndoLeaveTheReportUnchanged) {
    const std::string report = "Tarnwell System Environment Report\r\rline";
    pane.set_text(report);
    Win32Desktop desktop;
    ASSERT_TRUE(desktop.set_clipboard_text("pasted over the report").ok());

    struct Attempt {
        const char* what;
        UINT message;
        WPARAM w;
    };
    const Attempt attempts[] = {
        {"typed character", WM_CHAR, 'z'},     {"tab", WM_CHAR, '\t'},
        {"enter", WM_CHAR, '\r'},              {"backspace", WM_KEYDOWN, VK_BACK},
        {"delete", WM_KEYDOWN, VK_DELETE},     {"paste", WM_PASTE, 0},
        {"cut", WM_CUT, 0},                    {"clear", WM_CLEAR, 0},
        {"undo", EM_UNDO, 0},                  {"undo command", WM_UNDO, 0},
        {"redo", EM_REDO, 0},
    };
    for (const Attempt& attempt : attempts) {
        pane.select_all();
        send(attempt.message, attempt.w, 0);
        EXPECT_EQ(pane.text(), report) << attempt.what;
    }
    // The program's own appends still work.
    pane.append("\rmore");
    EXPECT_EQ(pane.text(), report + "\rmore");
}

TEST_F(ReportPaneTest, SelectAllAndCopyPutTheReportOnTheClipboard) {
    pane.set_text("first\rsecond");
    pane.select_all();
    pane.copy_selection();
    // The rich-text box copies its paragraph breaks as CR LF, as every editor does.
    EXPECT_EQ(clipboard_text<char>(CF_TEXT), "first\r\nsecond");
}

// The program's Copy Text puts the report on the clipboard in UTF-16, with every
// character; ANSI readers get the code page's form of a text that fits it.
TEST_F(ReportPaneTest, CopyTextKeepsEveryCharacterOnTheClipboard) {
    Win32Desktop desktop;
    ASSERT_TRUE(desktop.set_clipboard_text("Dvo\xC5\x99\xC3\xA1k\r\xF0\x9F\x98\x80").ok());
    EXPECT_EQ(clipboard_text<wchar_t>(CF_UNICODETEXT), L"Dvo\u0159\u00E1k\r\U0001F600");
    ASSERT_TRUE(desktop.set_clipboard_text("caf\xC3\xA9").ok());
    EXPECT_EQ(clipboard_text<char>(CF_TEXT), "caf\xE9");
}

TEST_F(ReportPaneTest, TheKeyboardCanLeaveThePane) {
    MSG tab = {pane.handle(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    const LRESULT wanted = SendMessageW(pane.handle(), WM_GETDLGCODE, VK_TAB,
                                        reinterpret_cast<LPARAM>(&tab));
    EXPECT_EQ(wanted & (DLGC_WANTTAB | DLGC_WANTALLKEYS), 0);
    EXPECT_EQ(wanted & DLGC_HASSETSEL, 0);
    EXPECT_NE(wanted & DLGC_WANTARROWS, 0);
    EXPECT_NE(wanted & DLGC_WANTCHARS, 0);
}

}  // namespace
}  // namespace tarnwell::test
