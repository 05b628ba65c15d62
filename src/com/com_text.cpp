#include "com/com_text.h"

#include <new>
#include <optional>

#include "com/com_error.h"
#include "platform/code_page.h"

namespace tarnwell::com {

// wchar_t is the UTF-16 unit on Windows.
std::wstring wide_text(const std::string& text) {
    const std::u16string wide = utf16_from_ansi(text);
    if (wide.empty() && !text.empty()) throw std::bad_alloc();
    return std::wstring(wide.begin(), wide.end());
}

std::string ansi_text(const wchar_t* text, std::size_t size) {
    std::optional<std::string> ansi =
        ansi_from_utf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), size));
    if (!ansi)
        throw com_error(vb_invalid_argument,
                        L"Invalid procedure call or argument: the text has characters that the "
                        L"ANSI code page cannot hold");
    return std::move(*ansi);
}

std::string ansi_text(BSTR text) {
    return text == nullptr ? std::string() : ansi_text(text, SysStringLen(text));
}

std::string ansi_name(BSTR text) {
    std::string name = ansi_text(text);
    if (name.find('\0') != std::string::npos)
        throw com_error(vb_invalid_argument,
                        L"Invalid procedure call or argument: a key path or name holds a NUL "
                        L"character");
    return name;
}

std::string ansi_text(const std::wstring& text) { return ansi_text(text.data(), text.size()); }

BSTR new_bstr(const std::string& text) {
    const std::wstring wide = wide_text(text);
    BSTR result = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (result == nullptr) throw std::bad_alloc();
    return result;
}

}  // namespace tarnwell::com
