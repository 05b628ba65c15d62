#include "app/win32/report_window_win32.h"

#include "windows_api/windows_api.h"
#include <commdlg.h>
#include <richedit.h>
#include <shlobj.h>
#include <windowsx.h>

#include <iterator>
#include <new>

#include "app/report_text_file.h"
#include "app/win32/monitor_dpi.h"
#include "app/window_geometry.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_text.h"

namespace tarnwell {

namespace {

constexpr const wchar_t* window_class = L"TarnwellEnvironmentReport";
constexpr DWORD window_style = WS_OVERLAPPEDWINDOW;
constexpr DWORD window_ex_style = 0;
constexpr int first_control_id = 100;
constexpr int program_icon = 1;

// The pane's context menu.
enum PaneMenuItem : UINT { menu_copy = 1, menu_select_all, menu_save };

int control_index(Control which) { return static_cast<int>(which); }

Control control_of(EpsgButton button) {
    return button == EpsgButton::test ? Control::test_epsg : Control::update_epsg;
}

// The window's size for a client area of that size.
SIZE window_size(PixelSize client, int dpi) {
    return window_size_for_client(client.width, client.height, window_style, window_ex_style, dpi);
}

HFONT make_arial_bold(int tenths_of_point, int dpi) {
    return CreateFontW(-MulDiv(tenths_of_point, dpi, 720), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Arial");
}

// The name the Save As dialog offers: the computer and today's date, so that reports
// from many workstations can share a folder.
std::wstring default_report_name() {
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(computer, &size)) computer[0] = L'\0';
    SYSTEMTIME today;
    GetLocalTime(&today);
    wchar_t name[MAX_PATH] = {};
    wsprintfW(name, L"Tarnwell report %s %04u-%02u-%02u.txt", computer, today.wYear, today.wMonth,
              today.wDay);
    return name;
}

HICON load_program_icon(HINSTANCE instance, int size_metric) {
    const int size = GetSystemMetrics(size_metric);
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(program_icon), IMAGE_ICON, size, size, 0));
}

}  // namespace

ReportWindowWin32::ReportWindowWin32(HINSTANCE instance, Win32Platform& platform,
                                     ProgramState& program)
    : instance_(instance), platform_(platform), form_(platform.platform(), *this, program) {}

HWND ReportWindowWin32::control(Control which) const { return controls_[control_index(which)]; }

bool ReportWindowWin32::create() {
    WNDCLASSEXW window_type = {};
    window_type.cbSize = sizeof window_type;
    window_type.lpfnWndProc = window_procedure;
    window_type.hInstance = instance_;
    window_type.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_type.hIcon = load_program_icon(instance_, SM_CXICON);
    window_type.hIconSm = load_program_icon(instance_, SM_CXSMICON);
    window_type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_type.lpszClassName = window_class;
    // Registered once per process, however many windows it makes.
    if (RegisterClassExW(&window_type) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;

    // Made hidden where Windows puts new windows, to learn its monitor and that monitor's
    // DPI; sized and centred there before it is shown.
    // The window procedure takes the new window into window_ with its first message.
    if (CreateWindowExW(window_ex_style, window_class, wide(program_title).c_str(), window_style,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                        nullptr, instance_, this) == nullptr)
        return false;
    platform_.desktop.owner_window = handle();
    dpi_ = dpi_of_window(handle());
    if (!create_controls()) return false;
    apply_fonts();
    place_window();
    return true;
}

void ReportWindowWin32::load_report() {
    // Nobody sees the pane before the report is written.
    pane_.gather_changes();
    form_.Form_Load();
    pane_.apply_gathered();
}

void ReportWindowWin32::show(int show_command) {
    // The window opens on the start of the report.
    pane_.show_start();
    ShowWindow(handle(), show_command);
    UpdateWindow(handle());
    SetFocus(GetNextDlgTabItem(handle(), nullptr, FALSE));
}

bool ReportWindowWin32::create_controls() {
    for (const ControlLayout& layout : window_layout) {
        const int id = first_control_id + control_index(layout.control);
        HWND created = nullptr;
        if (layout.control == Control::pane) {
            if (pane_.create(handle(), id, instance_)) created = pane_.handle();
        } else {
            DWORD style = WS_CHILD | WS_VISIBLE;
            style |= layout.control == Control::frame ? BS_GROUPBOX : WS_TABSTOP | BS_PUSHBUTTON;
            if (!layout.enabled) style |= WS_DISABLED;
            created = CreateWindowExW(0, L"BUTTON", wide(layout.caption).c_str(), style, 0, 0, 0, 0,
                                      handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      instance_, nullptr);
        }
        if (created == nullptr) return false;
        controls_[control_index(layout.control)] = created;
    }
    return true;
}

void ReportWindowWin32::apply_fonts() {
    // The controls take the new fonts before the old ones go.
    OwnedFont pane_font(make_arial_bold(100, dpi_));
    OwnedFont button_font(make_arial_bold(85, dpi_));
    for (const ControlLayout& layout : window_layout) {
        if (layout.font_tenths_of_point == 0) continue;
        HFONT font = layout.control == Control::pane ? pane_font.get() : button_font.get();
        SendMessageW(control(layout.control), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    pane_font_ = std::move(pane_font);
    button_font_ = std::move(button_font);
}

void ReportWindowWin32::place_window() {
    const SIZE design_window = window_size(design_client_size(dpi_), dpi_);
    const SIZE minimum_window = window_size(minimum_client_size(dpi_), dpi_);
    const RECT work = work_area_of(handle());
    const PixelRect placed = initial_window_rect({design_window.cx, design_window.cy},
                                                 {minimum_window.cx, minimum_window.cy},
                                                 {work.left, work.top, work.right, work.bottom});
    SetWindowPos(handle(), nullptr, placed.left, placed.top, placed.width(), placed.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    lay_out();
}

void ReportWindowWin32::lay_out() {
    RECT client = {};
    GetClientRect(handle(), &client);
    const PixelSize size = {client.right - client.left, client.bottom - client.top};
    HDWP moves = BeginDeferWindowPos(static_cast<int>(std::size(window_layout)));
    for (const ControlLayout& layout : window_layout) {
        const PixelRect rect = control_rect(layout, size, dpi_);
        if (moves != nullptr)
            moves = DeferWindowPos(moves, control(layout.control), nullptr, rect.left, rect.top,
                                   rect.width(), rect.height(),
                                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    if (moves != nullptr) EndDeferWindowPos(moves);
    // The frame's border and the buttons move over what was drawn before.
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ReportWindowWin32::on_dpi_changed(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    apply_fonts();
    SetWindowPos(handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    lay_out();
}

bool ReportWindowWin32::translate_keyboard(MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        HWND focus = GetFocus();
        for (Control button :
             {Control::done, Control::copy_text, Control::test_epsg, Control::update_epsg}) {
            if (focus == control(button) && IsWindowEnabled(focus)) {
                SendMessageW(focus, BM_CLICK, 0, 0);
                return true;
            }
        }
    }
    return IsDialogMessageW(handle(), &message) != FALSE;
}

int ReportWindowWin32::run_until_closed() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (translate_keyboard(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

std::string ReportWindowWin32::pane_text() { return pane_.text(); }

void ReportWindowWin32::set_pane_text(const std::string& text) { pane_.set_text(text); }

void ReportWindowWin32::append_pane_text(const std::string& tail) { pane_.append(tail); }

void ReportWindowWin32::set_enabled(EpsgButton button, bool enabled) {
    EnableWindow(control(control_of(button)), enabled ? TRUE : FALSE);
}

bool ReportWindowWin32::is_enabled(EpsgButton button) {
    return IsWindowEnabled(control(control_of(button))) != FALSE;
}

void ReportWindowWin32::show_pane_menu(LPARAM screen_point) {
    CHARRANGE selection = {};
    SendMessageW(pane_.handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const OwnedMenu menu(CreatePopupMenu());
    if (!menu) return;
    AppendMenuW(menu.get(), MF_STRING | (selection.cpMin == selection.cpMax ? MF_GRAYED : 0),
                menu_copy, L"&Copy\tCtrl+C");
    AppendMenuW(menu.get(), MF_STRING, menu_select_all, L"Select &All\tCtrl+A");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, menu_save, L"&Save report\u2026");
    const int chosen =
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, GET_X_LPARAM(screen_point),
                       GET_Y_LPARAM(screen_point), 0, handle(), nullptr);
    if (chosen == menu_copy) pane_.copy_selection();
    if (chosen == menu_select_all) pane_.select_all();
    if (chosen == menu_save) save_report();
}

void ReportWindowWin32::save_report() {
    wchar_t file[MAX_PATH] = {};
    lstrcpynW(file, default_report_name().c_str(), MAX_PATH);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = handle();
    dialog.lpstrFilter = L"Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = L"txt";
    // The dialog opens in the user's Documents, as Windows programs' Save As does.
    const std::wstring documents = wide(platform_.shell.folder_path(CSIDL_PERSONAL));
    if (!documents.empty()) dialog.lpstrInitialDir = documents.c_str();
    // The dialog asks before it lets a file be replaced.
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOREADONLYRETURN | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) return;
    // The report's lines with the CR LF line ends of a text file; the report in the
    // window stays as it is.
    const std::string path = narrow(file);
    const Status saved = write_file(platform_.files, path, report_text_file_bytes(pane_.text()),
                                    ExistingFile::replace);
    if (!saved.ok())
        platform_.desktop.message_box(
            "The report could not be saved to " + path + ": " + saved.description(),
            MessageKind::error);
}

void ReportWindowWin32::on_click(int control_id) {
    // The buttons have no trap of their own; a failure is reported in the program's
    // message box and the window stays open with its report.
    try {
        switch (static_cast<Control>(control_id - first_control_id)) {
        case Control::done:
            form_.Command_done_whats_new_Click();
            break;
        case Control::copy_text:
            form_.Command_copy_text_Click();
            break;
        case Control::test_epsg:
            form_.Command_test_epsg_Click();
            break;
        case Control::update_epsg:
            form_.Command_Update_EPSG_app_location_Click();
            break;
        default:
            break;
        }
    } catch (const std::bad_alloc&) {
        platform_.desktop.message_box("Run-time error: Out of memory", MessageKind::error);
    }
}

LRESULT CALLBACK ReportWindowWin32::window_procedure(HWND window, UINT message, WPARAM w,
                                                     LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* report =
            static_cast<ReportWindowWin32*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(report));
        report->window_.reset(window);
    }
    auto* self = reinterpret_cast<ReportWindowWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // A window its owner is destroying is no longer the report's.
    if (self == nullptr || self->handle() != window) return DefWindowProcW(window, message, w, l);
    return self->handle_message(message, w, l);
}

LRESULT ReportWindowWin32::handle_message(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
        // Escape, through the dialog keyboard, is Done.
        if (LOWORD(w) == IDCANCEL) {
            on_click(first_control_id + control_index(Control::done));
            return 0;
        }
        if (HIWORD(w) == BN_CLICKED && LOWORD(w) >= first_control_id) {
            on_click(LOWORD(w));
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(w) == pane_.handle()) {
            show_pane_menu(l);
            return 0;
        }
        break;
    case WM_SIZE:
        if (w != SIZE_MINIMIZED && controls_[0] != nullptr) lay_out();
        return 0;
    case WM_GETMINMAXINFO: {
        const SIZE window = window_size(minimum_client_size(dpi_), dpi_);
        auto* limits = reinterpret_cast<MINMAXINFO*>(l);
        limits->ptMinTrackSize = {window.cx, window.cy};
        return 0;
    }
    case WM_DPICHANGED:
        on_dpi_changed(HIWORD(w), *reinterpret_cast<const RECT*>(l));
        return 0;
    case WM_ACTIVATE:
        // Keep the focused control across a switch to another window and back.
        if (LOWORD(w) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(handle(), focus)) last_focus_ = focus;
        } else if (last_focus_ != nullptr) {
            SetFocus(last_focus_);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        // The window's last message: Windows destroys it, so its owner lets it go.
        return DefWindowProcW(window_.release(), message, w, l);
    default:
        break;
    }
    return DefWindowProcW(handle(), message, w, l);
}

}  // namespace tarnwell
