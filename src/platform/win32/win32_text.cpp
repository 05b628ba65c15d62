#include "platform/win32/win32_text.h"

#include "common/utf8.h"
#include "platform/win32/owned.h"

namespace tarnwell {

std::wstring wide(std::string_view utf8) {
    const std::u16string text = utf16_from_utf8(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string narrow(std::wstring_view wide) {
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
