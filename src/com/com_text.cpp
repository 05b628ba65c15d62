#include "com/com_text.h"

#include <new>

#include "com/com_error.h"
#include "common/utf8.h"
#include "platform/code_page.h"

namespace tarnwell::com {

namespace {

bool high_surrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool low_surrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Whether every surrogate in the text stands in a pair.
bool whole_characters(const wchar_t* text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (high_surrogate(text[i]) && i + 1 < size && low_surrogate(text[i + 1]))
            ++i;
        else if (high_surrogate(text[i]) || low_surrogate(text[i]))
            return false;
    }
    return true;
}

}  // namespace

std::string utf8_text(const wchar_t* text, std::size_t size) {
    if (!whole_characters(text, size))
        throw com_error(vb_invalid_argument,
                        L"Invalid procedure call or argument: the text holds half of a "
                        L"surrogate pair, which is no character");
    return utf8_from_utf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), size));
}

std::string utf8_text(BSTR text) {
    return text == nullptr ? std::string() : utf8_text(text, SysStringLen(text));
}

std::string utf8_name(BSTR text) {
    std::string name = utf8_text(text);
    if (name.find('\0') != std::string::npos)
        throw com_error(vb_invalid_argument,
                        L"Invalid procedure call or argument: a key path or name holds a NUL "
                        L"character");
    return name;
}

std::string utf8_text(const std::wstring& text) { return utf8_text(text.data(), text.size()); }

std::string byte_text(BSTR text) {
    if (text == nullptr) return std::string();
    Result<std::string> ansi = ansi_from_utf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
    if (!ansi.ok())
        throw com_error(vb_invalid_argument,
                        L"Invalid procedure call or argument: the byte text has characters that "
                        L"the ANSI code page cannot hold");
    return std::move(*ansi);
}

BSTR new_bstr(const std::string& text) {
    const std::wstring wide = tarnwell::wide(text);
    BSTR result = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (result == nullptr) throw std::bad_alloc();
    return result;
}

BSTR new_byte_bstr(const std::string& bytes) {
    const std::u16string wide = utf16_from_ansi(bytes);
    // The converter gives no text for bytes it cannot take (more than it counts).
    if (wide.empty() && !bytes.empty())
        throw com_error(vb_invalid_argument,
                        L"Invalid procedure call or argument: the byte text cannot be converted "
                        L"from the ANSI code page");
    BSTR result = SysAllocStringLen(reinterpret_cast<const wchar_t*>(wide.data()),
                                    static_cast<UINT>(wide.size()));
    if (result == nullptr) throw std::bad_alloc();
    return result;
}

}  // namespace tarnwell::com
