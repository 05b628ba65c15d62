#pragma once
// The report window's controls as the report logic sees them: the text of the
// report pane and the enabled state of the two EPSG buttons. The Win32 window and the
// host twin both provide it, so the report logic does not depend on a toolkit.
#include <string>

namespace tarnwell {

enum class EpsgButton { test, update };

class ReportView {
public:
    virtual ~ReportView() = default;
    virtual std::string pane_text() = 0;
    // Replaces the pane's whole text.
    virtual void set_pane_text(const std::string& text) = 0;
    // Adds text at the end of the pane's text, keeping everything the pane holds.
    virtual void append_pane_text(const std::string& tail) = 0;
    virtual void set_enabled(EpsgButton button, bool enabled) = 0;
    virtual bool is_enabled(EpsgButton button) = 0;
};

}  // namespace tarnwell
