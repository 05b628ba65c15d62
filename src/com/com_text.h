#pragma once
// Texts at the component's boundary: clients pass and receive BSTRs (UTF-16); the
// registry access class works in the ANSI code page, one byte per character.
#include <windows.h>

#include <string>

namespace tarnwell::com {

// The ANSI form of a client's text (a null BSTR is the empty text). A character the
// ANSI code page cannot hold exactly raises vb_invalid_argument: a substitute such as
// '?' or a best-fit letter would name another key or value, or store other data.
std::string ansi_text(BSTR text);
std::string ansi_text(const wchar_t* text, std::size_t length);
std::string ansi_text(const std::wstring& text);

// A key path, value name or file name: as ansi_text, and refused as well when it holds
// a NUL character, which the registry and file calls would take for its end and so
// reach another key, value or file (a parent key instead of its subkey).
std::string ansi_name(BSTR text);

// The UTF-16 form of an ANSI text.
std::wstring wide_text(const std::string& text);

// A new BSTR holding an ANSI text, for a result; throws std::bad_alloc without memory.
BSTR new_bstr(const std::string& text);

}  // namespace tarnwell::com
