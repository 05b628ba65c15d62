#include "probes/trim_n.h"

namespace tarnwell {

std::string trim_spaces(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string TrimN(const std::string& chstr) {
    const std::string trimmed = trim_spaces(chstr);
    const std::size_t last = trimmed.find_last_not_of('\0');
    if (last == std::string::npos) return {};
    return trimmed.substr(0, last + 1);
}

}  // namespace tarnwell
