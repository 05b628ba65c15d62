#pragma once
// The desktop on Windows: message boxes, the clipboard, the message queue, the user's
// date and time formats and the end of the process.
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tarnwell {

class Win32Desktop : public Desktop {
public:
    void message_box(const std::string& text, MessageKind kind) override;
    Status set_clipboard_text(const std::string& text) override;
    void process_pending_events() override;
    std::string general_date_now() override;
    void end_program() override;

    // The window that owns message boxes and the clipboard (a HWND), once there is one.
    void* owner_window = nullptr;
    // When set, message boxes are not shown but their texts kept here, for a run that
    // no person watches.
    std::vector<std::string>* recorded_messages = nullptr;
};

// The program's title: the report window's caption, and the title of every message box.
extern const char* const program_title;

}  // namespace tarnwell
