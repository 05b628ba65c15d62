#include <windows.h>

#include <limits>

#include "platform/code_page.h"

namespace tarnwell {

std::u16string utf16_from_ansi(std::string_view text) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(needed > 0 ? needed : 0), u'\0');
    if (needed > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), length, reinterpret_cast<wchar_t*>(&wide[0]),
                            needed);
    return wide;
}

std::optional<std::string> ansi_from_utf16(std::u16string_view text) {
    if (text.empty()) return std::string();
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 4))
        return std::nullopt;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, &ansi[0], needed, nullptr, nullptr);
    // Exact when the ANSI text reads back as the same characters; this holds for every
    // code page, single-byte, double-byte or UTF-8, where a flag for substitutes does not.
    if (utf16_from_ansi(ansi) != text) return std::nullopt;
    return ansi;
}

}  // namespace tarnwell
