// The real report window under Wine, unseen: the report lands in its pane, and a change
// of DPI redraws the controls at the new DPI where Windows suggests.
#include "app/win32/report_window_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win32/monitor_dpi.h"
#include "app/window_geometry.h"

namespace tarnwell::test {
namespace {

class ReportWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_NE(LoadLibraryW(L"riched20.dll"), nullptr); }
    void SetUp() override {
        // No message box may wait for a person during a test.
        platform.desktop.recorded_messages = &messages;
        ASSERT_TRUE(window.create());
        window.load_report();
    }

    RECT rect_of(const wchar_t* caption) {
        RECT rect = {};
        GetWindowRect(FindWindowExW(window.handle(), nullptr, L"Button", caption), &rect);
        return rect;
    }
    LONG font_height_of(const wchar_t* caption) {
        HWND button = FindWindowExW(window.handle(), nullptr, L"Button", caption);
        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        return font.lfHeight;
    }

    Win32Platform platform;
    ProgramState program;
    std::vector<std::string> messages;
    ReportWindowWin32 window{GetModuleHandleW(nullptr), platform, program};
};

TEST_F(ReportWindowTest, TheLoadHandlerWritesTheReportIntoThePane) {
    const std::string report = window.pane_text();
    EXPECT_EQ(report.rfind("Tarnwell System Environment Report Date: ", 0), 0u);
    EXPECT_EQ(report.find('\n'), std::string::npos);
    EXPECT_FALSE(IsWindowVisible(window.handle()));
}

TEST_F(ReportWindowTest, ADpiChangeScalesTheControlsAndTakesTheSuggestedPlace) {
    const int dpi = dpi_of_window(window.handle());
    const RECT before = rect_of(L"Copy Text");
    EXPECT_NEAR(before.bottom - before.top, twips_to_pixels(290, dpi), 1);

    const int doubled = 2 * dpi;
    RECT suggested = {12, 34, 12 + 1000, 34 + 700};
    SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(doubled, doubled),
                 reinterpret_cast<LPARAM>(&suggested));

    RECT placed = {};
    GetWindowRect(window.handle(), &placed);
    EXPECT_EQ(placed.left, 12);
    EXPECT_EQ(placed.top, 34);
    const RECT after = rect_of(L"Copy Text");
    EXPECT_NEAR(after.bottom - after.top, twips_to_pixels(290, doubled), 1);
    EXPECT_NEAR(after.right - after.left, twips_to_pixels(1340, doubled), 1);
    EXPECT_EQ(font_height_of(L"Copy Text"), -MulDiv(85, doubled, 720));
    // The button row still ends inside the client area.
    RECT client = {};
    GetClientRect(window.handle(), &client);
    MapWindowPoints(window.handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT done = rect_of(L"Done");
    EXPECT_LE(done.right, client.right);
    EXPECT_LE(done.bottom, client.bottom);
}

TEST_F(ReportWindowTest, TheWindowIsDestroyedWhenClosedOrElseWithItsObject) {
    // Closed: Windows destroys it, the program's message loop is told to end, and the
    // object lets the window go rather than destroy it again.
    const HWND closed = window.handle();
    SendMessageW(closed, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(closed));
    EXPECT_EQ(window.handle(), nullptr);
    MSG quit = {};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    // Never closed: the object destroys it when it goes.
    HWND left = nullptr;
    {
        ReportWindowWin32 other{GetModuleHandleW(nullptr), platform, program};
        ASSERT_TRUE(other.create());
        left = other.handle();
    }
    EXPECT_FALSE(IsWindow(left));
}

}  // namespace
}  // namespace tarnwell::test
