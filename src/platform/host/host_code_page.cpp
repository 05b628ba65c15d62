// Code page 1252, the ANSI code page of the host twin.
#include "platform/code_page.h"

namespace tarnwell {

namespace {

char16_t utf16_of_cp1252(unsigned char byte) {
    // Bytes 0x80 to 0x9F; the five the code page leaves unassigned map to the control
    // characters of the same value, as Windows maps them.
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : static_cast<char16_t>(byte);
}

}  // namespace

std::u16string utf16_from_ansi(std::string_view text) {
    std::u16string wide;
    for (const char c : text)
        wide += utf16_of_cp1252(static_cast<unsigned char>(c));
    return wide;
}

Result<std::string> ansi_from_utf16(std::u16string_view text) {
    std::string ansi;
    ansi.reserve(text.size());
    for (const char16_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            ansi += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (unsigned byte = 0x80; byte < 0xA0 && !found; ++byte) {
            if (utf16_of_cp1252(static_cast<unsigned char>(byte)) == c) {
                ansi += static_cast<char>(byte);
                found = true;
            }
        }
        if (!found) return no_ansi_form();
    }
    return ansi;
}

}  // namespace tarnwell
