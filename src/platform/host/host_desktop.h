#pragma once
// The host twin of the desktop: it records message boxes, the clipboard and the end
// of the program for tests to read, and shows a fixed clock.
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tarnwell {

class HostDesktop : public Desktop {
public:
    void message_box(const std::string& text, MessageKind kind) override {
        messages.push_back(text);
        message_kinds.push_back(kind);
    }
    Status set_clipboard_text(const std::string& text) override {
        clipboard = text;
        return Status();
    }
    void process_pending_events() override { ++pending_events_processed; }
    std::string general_date_now() override { return now; }
    void end_program() override { ended = true; }

    std::vector<std::string> messages;
    std::vector<MessageKind> message_kinds;  // one per message
    std::string clipboard;
    std::string now = "08/12/2026 14:30:05";
    int pending_events_processed = 0;
    bool ended = false;
};

}  // namespace tarnwell
