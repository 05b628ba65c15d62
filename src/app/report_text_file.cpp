#include "app/report_text_file.h"

#include "app/command_line.h"
#include "platform/code_page.h"

namespace tarnwell {

std::string report_text_file_bytes(const std::string& report) {
    const std::string text = with_crlf_line_ends(report);
    if (Result<std::string> ansi = ansi_from_utf8(text); ansi.ok()) return std::move(ansi).value();
    return "\xEF\xBB\xBF" + text;
}

}  // namespace tarnwell
