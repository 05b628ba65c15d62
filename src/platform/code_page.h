#pragma once
// Texts between the program's UTF-8 and the ANSI code page, for the few places whose
// bytes a published contract fixes in that code page: REGEDIT4 files and the support
// library's search buffer. The build picks the implementation: Windows converts with
// the process's ANSI code page, the host twin with code page 1252.
#include <string>
#include <string_view>

#include "common/status.h"
#include "common/utf8.h"

namespace tarnwell {

// The text in the ANSI code page. A character with no exact form there fails the whole
// text (no_ansi_form): a "?" or a best-fit look-alike would be another name or other data.
Result<std::string> ansi_from_utf16(std::u16string_view text);

// Why a text has no ANSI form: a character of it has none.
inline Status no_ansi_form() {
    return Status::failure("a character that the ANSI code page cannot hold");
}

// The UTF-16 form of an ANSI text.
std::u16string utf16_from_ansi(std::string_view text);

inline Result<std::string> ansi_from_utf8(std::string_view text) {
    return ansi_from_utf16(utf16_from_utf8(text));
}

inline std::string utf8_from_ansi(std::string_view text) {
    return utf8_from_utf16(utf16_from_ansi(text));
}

}  // namespace tarnwell
