#include "probes/stored_text.h"

#include <cstring>

#include "common/text.h"

namespace tarnwell {

std::string trimmed_stored_text(const std::string& text) {
    const std::string_view trimmed = trim_spaces(std::string_view(text));
    const std::size_t last = trimmed.find_last_not_of('\0');
    if (last == std::string_view::npos) return {};
    return std::string(trimmed.substr(0, last + 1));
}

std::string text_before_nul(const std::string& text) {
    return text.substr(0, strnlen(text.c_str(), text.size()));
}

}  // namespace tarnwell
