#include "app/win32/report_window_win32.h"

#include <richedit.h>

#include <vector>

#include "app/error_description.h"
#include "app/win32/window_layout.h"

namespace tarnwell {

namespace {

constexpr const char* window_class = "TarnwellEnvironmentReport";
constexpr const char* window_caption = "Tarnwell System Files";
constexpr int first_control_id = 100;

int control_index(Control which) { return static_cast<int>(which); }

HFONT make_arial_bold(int tenths_of_point, int dpi_y) {
    return CreateFontA(-MulDiv(tenths_of_point, dpi_y, 720), 0, 0, 0, FW_BOLD, FALSE, FALSE,
                       FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
}

}  // namespace

ReportWindowWin32::ReportWindowWin32(HINSTANCE instance, Win32Platform& platform,
                                     ProgramState& program)
    : instance_(instance),
      platform_(platform),
      platform_view_(platform.platform()),
      form_(platform_view_, *this, program) {}

ReportWindowWin32::~ReportWindowWin32() {
    if (pane_font_ != nullptr) DeleteObject(pane_font_);
    if (button_font_ != nullptr) DeleteObject(button_font_);
}

HWND ReportWindowWin32::control(Control which) const { return controls_[control_index(which)]; }

bool ReportWindowWin32::open(int show_command) {
    WNDCLASSA window_type = {};
    window_type.lpfnWndProc = window_procedure;
    window_type.hInstance = instance_;
    window_type.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_type.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    window_type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_type.lpszClassName = window_class;
    if (RegisterClassA(&window_type) == 0) return false;

    HDC screen = GetDC(nullptr);
    const int dpi_x = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame = {0, 0, MulDiv(client_width_twips, dpi_x, 1440),
                  MulDiv(client_height_twips, dpi_y, 1440)};
    AdjustWindowRect(&frame, style, FALSE);
    window_ = CreateWindowExA(0, window_class, window_caption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              instance_, this);
    if (window_ == nullptr) return false;
    platform_.desktop.owner_window = window_;

    pane_font_ = make_arial_bold(100, dpi_y);
    button_font_ = make_arial_bold(85, dpi_y);
    for (const ControlLayout& layout : window_layout) {
        const bool is_pane = layout.control == Control::pane;
        const bool is_frame = layout.control == Control::frame;
        DWORD control_style = WS_CHILD | WS_VISIBLE;
        const char* type = "BUTTON";
        if (is_frame) {
            control_style |= BS_GROUPBOX;
        } else if (is_pane) {
            type = RICHEDIT_CLASSA;
            control_style |= WS_TABSTOP | WS_VSCROLL | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL |
                             ES_WANTRETURN | ES_NOHIDESEL;
        } else {
            control_style |= WS_TABSTOP | BS_PUSHBUTTON;
        }
        if (!layout.enabled) control_style |= WS_DISABLED;
        HWND created = CreateWindowExA(
            0, type, layout.caption, control_style, MulDiv(layout.left, dpi_x, 1440),
            MulDiv(layout.top, dpi_y, 1440), MulDiv(layout.width, dpi_x, 1440),
            MulDiv(layout.height, dpi_y, 1440), window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(first_control_id +
                                                         control_index(layout.control))),
            instance_, nullptr);
        if (created == nullptr) return false;
        controls_[control_index(layout.control)] = created;
        if (layout.font_tenths_of_point != 0)
            SendMessageA(created, WM_SETFONT,
                         reinterpret_cast<WPARAM>(is_pane ? pane_font_ : button_font_), FALSE);
    }
    // The report may grow well past the pane's default limit of 32K characters.
    SendMessageA(control(Control::pane), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);

    form_.Form_Load();
    // The window opens on the start of the report.
    SendMessageA(control(Control::pane), EM_SETSEL, 0, 0);
    SendMessageA(control(Control::pane), EM_SCROLLCARET, 0, 0);
    ShowWindow(window_, show_command);
    UpdateWindow(window_);
    return true;
}

std::string ReportWindowWin32::pane_text() {
    // EM_GETTEXTEX keeps the pane's CR-only line breaks; WM_GETTEXT would add line feeds.
    HWND pane = control(Control::pane);
    GETTEXTLENGTHEX length_query = {GTL_PRECISE | GTL_NUMBYTES, CP_ACP};
    const LRESULT length =
        SendMessageA(pane, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length_query), 0);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    GETTEXTEX text_query = {};
    text_query.cb = static_cast<DWORD>(buffer.size());
    text_query.flags = GT_DEFAULT;
    text_query.codepage = CP_ACP;
    const LRESULT copied = SendMessageA(pane, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&text_query),
                                        reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void ReportWindowWin32::set_pane_text(const std::string& text) {
    SETTEXTEX how = {ST_DEFAULT, CP_ACP};
    SendMessageA(control(Control::pane), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

void ReportWindowWin32::set_enabled(EpsgButton button, bool enabled) {
    EnableWindow(control(button == EpsgButton::test ? Control::test_epsg : Control::update_epsg),
                 enabled ? TRUE : FALSE);
}

bool ReportWindowWin32::is_enabled(EpsgButton button) {
    return IsWindowEnabled(
               control(button == EpsgButton::test ? Control::test_epsg : Control::update_epsg)) !=
           FALSE;
}

void ReportWindowWin32::on_click(int control_id) {
    // The buttons have no trap of their own; a failure is reported in the program's
    // message box and the window stays open with its report.
    try {
        switch (static_cast<Control>(control_id - first_control_id)) {
            case Control::done: form_.Command_done_whats_new_Click(); break;
            case Control::copy_text: form_.Command_copy_text_Click(); break;
            case Control::test_epsg: form_.Command_test_epsg_Click(); break;
            case Control::update_epsg: form_.Command_Update_EPSG_app_location_Click(); break;
            default: break;
        }
    } catch (const std::exception& failure) {
        platform_.desktop.message_box("Run-time error: " + error_description(failure),
                                      MessageKind::error);
    }
}

LRESULT CALLBACK ReportWindowWin32::window_procedure(HWND window, UINT message, WPARAM w,
                                                     LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(l);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<ReportWindowWin32*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, w, l);
    if (self->window_ == nullptr) self->window_ = window;
    return self->handle_message(message, w, l);
}

LRESULT ReportWindowWin32::handle_message(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(w) == BN_CLICKED && LOWORD(w) >= first_control_id) {
                on_click(LOWORD(w));
                return 0;
            }
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default: break;
    }
    return DefWindowProcA(window_, message, w, l);
}

}  // namespace tarnwell
