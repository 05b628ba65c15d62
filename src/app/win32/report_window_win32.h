#pragma once
// The report window on Windows: creates the controls from the layout, fits the window to
// its monitor at that monitor's DPI, lays the controls out again when the window is
// resized or moves to another DPI, gives the keyboard the layout's tab order, shows the
// report pane's text to the report logic and routes the button clicks to it.
#include "windows_api/windows_api.h"

#include <string>
#include <vector>

#include "app/report_view.h"
#include "app/report_window.h"
#include "app/win32/report_pane.h"
#include "app/window_layout.h"
#include "platform/win32/owned.h"
#include "platform/win32/win32_platform.h"

namespace tarnwell {

class ReportWindowWin32 : public ReportView {
public:
    ReportWindowWin32(HINSTANCE instance, Win32Platform& platform, ProgramState& program);
    ReportWindowWin32(const ReportWindowWin32&) = delete;
    ReportWindowWin32& operator=(const ReportWindowWin32&) = delete;

    // Creates the window and its controls, unseen.
    bool create();
    // Runs the load handler, which writes the report, before the window is first shown.
    void load_report();
    // Shows the window with the focus on the first control of the tab order.
    void show(int show_command);
    HWND handle() const { return window_.get(); }

    // The window's keyboard: Enter presses the focused button, then Tab, Shift+Tab and
    // Escape as in a dialog. True when the message was handled.
    bool translate_keyboard(MSG& message);
    // Runs the program's messages, the window's keyboard first, until the window is
    // closed; the exit code it was closed with.
    int run_until_closed();

    // What the report found, one finding per line the load handler wrote.
    const std::vector<Finding>& findings() const { return form_.findings(); }

    std::string pane_text() override;
    void set_pane_text(const std::string& text) override;
    void append_pane_text(const std::string& tail) override;
    void set_enabled(EpsgButton button, bool enabled) override;
    bool is_enabled(EpsgButton button) override;

private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle_message(UINT message, WPARAM w, LPARAM l);
    bool create_controls();
    void place_window();
    void lay_out();
    void apply_fonts();
    void show_pane_menu(LPARAM screen_point);
    void save_report();
    void on_click(int control_id);
    void on_dpi_changed(int dpi, const RECT& suggested);
    HWND control(Control which) const;

    HINSTANCE instance_;
    Win32Platform& platform_;
    Form_Tarnwell_Environment form_;
    HWND controls_[6] = {};
    ReportPane pane_;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    OwnedFont pane_font_;
    OwnedFont button_font_;
    // The control that had the focus when the window was last deactivated.
    HWND last_focus_ = nullptr;
    // Last, so that the window goes first, while what its messages use is still here.
    OwnedWindow window_;
};

}  // namespace tarnwell
