#include "app/report_fixture.h"

namespace tarnwell::test {

std::string report_text(const std::string& header, const std::vector<Expected>& lines) {
    std::string text = header;
    for (const Expected& line : lines) text += std::string(line.blank_before ? "\r\r" : "\r") + line.line;
    return text;
}

}  // namespace tarnwell::test
