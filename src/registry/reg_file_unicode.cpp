#include "registry/reg_file_unicode.h"

#include "platform/code_page.h"

namespace tarnwell {

const char* const unicode_file_header = "Windows Registry Editor Version 5.00";

namespace {

std::u16string utf16_of(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return text;
}

bool is_key_line(std::u16string_view line) {
    const std::size_t first = line.find_first_not_of(u" \t");
    return first != std::u16string_view::npos && line[first] == u'[';
}

}  // namespace

bool is_utf16_file(std::string_view bytes) { return bytes.substr(0, 2) == "\xFF\xFE"; }

std::optional<AnsiLines> ansi_lines_of_utf16_file(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    const std::u16string text = utf16_of(bytes.substr(2));
    AnsiLines lines;
    lines.text.reserve(text.size());
    std::size_t index = 0;
    for (std::size_t start = 0;; ++index) {
        const std::size_t end = text.find(u"\r\n", start);
        const std::u16string_view line = std::u16string_view(text).substr(
            start, end == std::u16string::npos ? end : end - start);
        if (const std::optional<std::string> ansi = ansi_from_utf16(line)) {
            lines.text += *ansi;
        } else {
            lines.unconvertible.push_back(index);
            if (is_key_line(line)) lines.unconvertible_key_lines.push_back(index);
        }
        if (end == std::u16string::npos) break;
        lines.text += "\r\n";
        start = end + 2;
    }
    return lines;
}

std::optional<std::string> ansi_of_utf16_bytes(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    return ansi_from_utf16(utf16_of(bytes));
}

}  // namespace tarnwell
