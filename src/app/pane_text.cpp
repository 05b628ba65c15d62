#include "app/pane_text.h"

namespace tarnwell {

std::string as_pane_holds(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::string held;
    held.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        held += text[i] == '\n' ? '\r' : text[i];
    }
    return held;
}

}  // namespace tarnwell
