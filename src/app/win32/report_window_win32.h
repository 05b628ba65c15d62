#pragma once
// The report window on Windows: creates the controls from the layout, shows the report
// pane's text to the report logic and routes the button clicks to it.
#include <windows.h>

#include <memory>

#include "app/report_window.h"
#include "app/win32/window_layout.h"
#include "platform/report_view.h"
#include "platform/win32/win32_platform.h"

namespace tarnwell {

class ReportWindowWin32 : public ReportView {
public:
    ReportWindowWin32(HINSTANCE instance, Win32Platform& platform, ProgramState& program);
    ~ReportWindowWin32() override;

    // Creates the window, runs the load handler, then shows the window.
    bool open(int show_command);
    HWND handle() const { return window_; }

    std::string pane_text() override;
    void set_pane_text(const std::string& text) override;
    void set_enabled(EpsgButton button, bool enabled) override;
    bool is_enabled(EpsgButton button) override;

private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle_message(UINT message, WPARAM w, LPARAM l);
    void create_controls();
    void on_click(int control_id);
    HWND control(Control which) const;

    HINSTANCE instance_;
    Win32Platform& platform_;
    Platform platform_view_;
    Form_Tarnwell_Environment form_;
    HWND window_ = nullptr;
    HWND controls_[6] = {};
    HFONT pane_font_ = nullptr;
    HFONT button_font_ = nullptr;
};

}  // namespace tarnwell
