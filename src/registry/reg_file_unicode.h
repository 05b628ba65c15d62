#pragma once
// Version 5 registry files, the platform's default export: UTF-16 text behind a
// byte-order mark, whose string values in hex(N): form hold UTF-16 bytes too.
#include <string_view>

namespace tarnwell {

// The first line of a version 5 file.
extern const char* const unicode_file_header;

// True when the bytes start with the little-endian UTF-16 byte-order mark.
bool is_utf16_file(std::string_view bytes);

}  // namespace tarnwell
