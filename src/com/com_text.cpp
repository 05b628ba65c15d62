#include "com/com_text.h"

#include <limits>
#include <new>

#include "com/com_error.h"

namespace tarnwell::com {

namespace {

// The code page APIs count in int.
int counted(std::size_t length) {
    if (length > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw com_error(vb_invalid_argument, L"Invalid procedure call or argument: text too long");
    return static_cast<int>(length);
}

}  // namespace

std::wstring wide_text(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = counted(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) throw std::bad_alloc();
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], needed);
    return wide;
}

std::string ansi_text(const wchar_t* text, std::size_t size) {
    if (size == 0) return std::string();
    const int length = counted(size);
    const int needed = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
        WideCharToMultiByte(CP_ACP, 0, text, length, &ansi[0], needed, nullptr, nullptr);
    // Exact when the ANSI text reads back as the same characters; this holds for every
    // code page, single-byte, double-byte or UTF-8.
    if (needed <= 0 || wide_text(ansi) != std::wstring(text, size))
        throw com_error(vb_invalid_argument,
                        L"Invalid procedure call or argument: the text has characters that the "
                        L"ANSI code page cannot hold");
    return ansi;
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
