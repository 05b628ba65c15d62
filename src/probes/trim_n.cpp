#include "probes/trim_n.h"

#include "common/text.h"

namespace tarnwell {

std::string TrimN(const std::string& chstr) {
    const std::string_view trimmed = trim_spaces(std::string_view(chstr));
    const std::size_t last = trimmed.find_last_not_of('\0');
    if (last == std::string_view::npos) return {};
    return std::string(trimmed.substr(0, last + 1));
}

}  // namespace tarnwell
