#pragma once
// The report pane: a read-only rich-text box that holds the report as plain text with
// carriage-return-only line breaks. Keys, paste and drops cannot change it; selection,
// Ctrl+A, Ctrl+C and scrolling work. Tab, Escape and Enter are left to the window, so
// the keyboard can leave the pane, and a right-click (or Shift+F10) asks the parent
// window for its context menu with WM_CONTEXTMENU.
#include "windows_api/windows_api.h"

#include <optional>
#include <string>

namespace tarnwell {

class ReportPane {
public:
    // Creates the pane as a child control; false when it cannot be made.
    bool create(HWND parent, int control_id, HINSTANCE instance);
    HWND handle() const { return pane_; }

    // The pane's text with its CR-only line breaks (WM_GETTEXT would add line feeds).
    std::string text() const;
    // Replaces the whole text.
    void set_text(const std::string& text);
    // Adds text at the end without rewriting what is there, so that a long report costs
    // no more than its length.
    void append(const std::string& tail);

    // From gather_changes() to apply_gathered(), set_text and append change only the
    // text that text() gives, and the box takes it in one piece at the end: the
    // rich-text box lays itself out again after every change, which for every line of a
    // report would cost more than the whole report. For a pane nobody sees yet.
    void gather_changes();
    void apply_gathered();

    void copy_selection();
    void select_all();
    // Puts the caret at the start and shows the first line.
    void show_start();

private:
    static LRESULT CALLBACK subclass_procedure(HWND pane, UINT message, WPARAM w, LPARAM l,
                                               UINT_PTR id, DWORD_PTR data);

    HWND pane_ = nullptr;
    std::optional<std::string> gathered_;
};

}  // namespace tarnwell
