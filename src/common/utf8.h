#pragma once
// UTF-8, the encoding of the files the program writes for other machines to read.
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwell {

// Appends the code point (at most U+10FFFF) in UTF-8.
inline void append_utf8(std::string& out, std::uint32_t code_point) {
    const auto put = [&](std::uint32_t byte) { out += static_cast<char>(byte); };
    if (code_point < 0x80) {
        put(code_point);
    } else if (code_point < 0x800) {
        put(0xC0 | code_point >> 6);
        put(0x80 | (code_point & 0x3F));
    } else if (code_point < 0x10000) {
        put(0xE0 | code_point >> 12);
        put(0x80 | (code_point >> 6 & 0x3F));
        put(0x80 | (code_point & 0x3F));
    } else {
        put(0xF0 | code_point >> 18);
        put(0x80 | (code_point >> 12 & 0x3F));
        put(0x80 | (code_point >> 6 & 0x3F));
        put(0x80 | (code_point & 0x3F));
    }
}

// The UTF-8 form of a UTF-16 text; half a surrogate pair becomes U+FFFD.
inline std::string utf8_from_utf16(std::u16string_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        std::uint32_t c = wide[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() &&
                          wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
        if (pair) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // half a pair has no character of its own
        }
        append_utf8(utf8, c);
    }
    return utf8;
}

}  // namespace tarnwell
