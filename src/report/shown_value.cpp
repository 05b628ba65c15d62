#include "report/shown_value.h"

namespace tarnwell {

std::string shown_value(const std::string& value) {
    if (value.find_first_of("\r\n") == std::string::npos) return value;
    std::string shown;
    shown.reserve(value.size() + 16);
    for (const char c : value) {
        if (c == '\r') {
            shown += "<CR>";
        } else if (c == '\n') {
            shown += "<LF>";
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace tarnwell
