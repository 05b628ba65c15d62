#include "platform/win32/win32_text.h"

#include <algorithm>

#include "common/utf8.h"
#include "platform/win32/owned.h"

namespace tarnwell {

// Most names and texts are plain ASCII, whose units are its bytes: they are widened and
// narrowed without a decoding pass.
std::wstring wide(std::string_view utf8) {
    if (std::all_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::wstring(utf8.begin(), utf8.end());
    const std::u16string text = utf16_from_utf8(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string narrow(std::wstring_view wide) {
    if (std::all_of(wide.begin(), wide.end(), [](wchar_t c) { return c < 0x80; }))
        return std::string(wide.begin(), wide.end());
    return utf8_from_utf16(std::u16string(wide.begin(), wide.end()));
}

std::string system_error_text(unsigned long code) {
    OwnedLocalMemory text;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
    std::string result =
        length != 0 && text
            ? narrow(std::wstring_view(static_cast<const wchar_t*>(text.get()), length))
            : "Error " + std::to_string(code);
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

Status last_error_status() {
    const DWORD code = GetLastError();
    return Status(static_cast<long>(code), system_error_text(code));
}

}  // namespace tarnwell
