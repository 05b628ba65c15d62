#pragma once
// The report window's controls in memory, for tests: the pane's text and the two EPSG
// buttons' states, kept in memory.
#include "app/report_view.h"

namespace tarnwell {

class MemoryReportView : public ReportView {
public:
    std::string pane_text() override { return text; }
    void set_pane_text(const std::string& new_text) override { text = new_text; }
    void append_pane_text(const std::string& tail) override { text += tail; }
    void set_enabled(EpsgButton button, bool enabled) override {
        (button == EpsgButton::test ? test_enabled : update_enabled) = enabled;
    }
    bool is_enabled(EpsgButton button) override {
        return button == EpsgButton::test ? test_enabled : update_enabled;
    }

    std::string text;
    bool test_enabled = false;
    bool update_enabled = false;
};

}  // namespace tarnwell
