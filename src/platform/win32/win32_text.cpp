#include "platform/win32/win32_text.h"

#include "platform/win32/owned.h"

namespace tarnwell {

std::string system_error_text(unsigned long code) {
    OwnedLocalMemory text;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(text.put()), 0, nullptr);
    std::string result = length != 0 && text
                             ? std::string(static_cast<const char*>(text.get()), length)
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
