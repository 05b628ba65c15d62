#pragma once
// Version 5 registry files, the platform's default export: UTF-16 text behind a
// byte-order mark, whose string values in hex(N): form hold UTF-16 bytes too. The
// registry calls of this program take texts in the ANSI code page, so such a file is
// read converted to it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// The first line of a version 5 file.
extern const char* const unicode_file_header;

// True when the bytes start with the little-endian UTF-16 byte-order mark.
bool is_utf16_file(std::string_view bytes);

// A version 5 file's lines in the ANSI code page, with CR LF between them as in the
// file. A line holding a character the code page cannot hold stands as an empty line,
// its index (from 0) listed.
struct AnsiLines {
    std::string text;
    std::vector<std::size_t> unconvertible;            // in increasing order
    std::vector<std::size_t> unconvertible_key_lines;  // those that are key lines
};
// Nothing when the file does not hold whole UTF-16 characters (an odd size).
std::optional<AnsiLines> ansi_lines_of_utf16_file(std::string_view bytes);

// The UTF-16 bytes of a string value in the ANSI code page; nothing for an odd number of
// bytes or a character the code page cannot hold.
std::optional<std::string> ansi_of_utf16_bytes(std::string_view bytes);

}  // namespace tarnwell
