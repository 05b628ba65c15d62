#pragma once
// UTF-8, the encoding of every text inside the program, and UTF-16, the one Windows
// keeps names and texts in; the platform layer converts between them at its seam.
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

// The UTF-16 form of a UTF-8 text. A byte that starts no valid sequence (a stray
// continuation byte, an overlong form, a surrogate or a cut-off sequence) becomes U+FFFD.
inline std::u16string utf16_from_utf8(std::string_view utf8) {
    std::u16string wide;
    wide.reserve(utf8.size());
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const auto continuation = [&](std::size_t i) {
        return i < utf8.size() && (byte(i) & 0xC0) == 0x80;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned lead = byte(i);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        std::uint32_t c = length == 1 ? lead
                          : length == 2 ? lead & 0x1F
                          : length == 3 ? lead & 0x0F
                                        : lead & 0x07;
        bool valid = lead < 0x80 || (lead >= 0xC2 && lead <= 0xF4);
        for (std::size_t k = 1; valid && k < length; ++k) {
            valid = continuation(i + k);
            if (valid) c = c << 6 | (byte(i + k) & 0x3F);
        }
        constexpr std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && c >= smallest[length] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
        if (!valid) {
            wide += u'\uFFFD';
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            wide += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            wide += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<char16_t>(c);
        }
        i += length;
    }
    return wide;
}

// UTF-16 text as the little-endian bytes that files and the registry hold, and back
// (a last odd byte is no character and is dropped).
inline std::string utf16le_bytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

inline std::u16string utf16_of_le_bytes(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return text;
}

}  // namespace tarnwell
