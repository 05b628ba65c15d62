#pragma once
// Texts at the component's boundary: clients pass and receive BSTRs (UTF-16); the
// registry access class takes and gives UTF-8. Every character crosses unchanged.
#include "windows_api/windows_api.h"
#include <ole2.h>

#include <string>

#include "platform/win32/win32_text.h"

namespace tarnwell::com {

// The UTF-8 form of a client's text (a null BSTR is the empty text). Half of a
// surrogate pair is no character and has no UTF-8 form: it raises vb_invalid_argument,
// since a replacement character would name another key or value, or store other data.
std::string utf8_text(BSTR text);
std::string utf8_text(const wchar_t* text, std::size_t length);
std::string utf8_text(const std::wstring& text);

// A key path, value name or file name: as utf8_text, and refused as well when it holds
// a NUL character, which the registry and file calls would take for its end and so
// reach another key, value or file (a parent key instead of its subkey).
std::string utf8_name(BSTR text);

// Byte text, one character for each byte, as BinToStr takes it: the client's text in
// the ANSI code page. A character the code page cannot hold raises vb_invalid_argument.
std::string byte_text(BSTR text);

// A new BSTR holding byte text, as StrToBin gives it: each byte the ANSI code page's
// character. Bytes the code page's converter cannot take raise vb_invalid_argument;
// throws std::bad_alloc without memory.
BSTR new_byte_bstr(const std::string& bytes);

// A new BSTR holding a UTF-8 text, for a result; throws std::bad_alloc without memory.
BSTR new_bstr(const std::string& text);

}  // namespace tarnwell::com
