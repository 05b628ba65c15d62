#pragma once
// What the program needs of the desktop besides its own window: message boxes with
// an OK button and the program's title, the clipboard, pending window events, the
// clock in the user's formats and the end of the program.
#include <string>

#include "common/status.h"

namespace tarnwell {

// The icon a message box shows: a failure, or a finding that is no failure.
enum class MessageKind { error, information };

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void message_box(const std::string& text, MessageKind kind) = 0;
    // Clears the clipboard and puts the text on it in the plain text format.
    virtual Status set_clipboard_text(const std::string& text) = 0;
    // Lets queued window events run.
    virtual void process_pending_events() = 0;
    // The current date and time in the general date format: the user's short date,
    // a blank, the user's long time.
    virtual std::string general_date_now() = 0;
    // Ends the program at once.
    virtual void end_program() = 0;
};

}  // namespace tarnwell
