#include "windows_api/windows_api.h"

#include <limits>

#include "platform/code_page.h"
#include "platform/win32/win32_text.h"

namespace tarnwell {

std::u16string utf16_from_ansi(std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(needed > 0 ? needed : 0), u'\0');
    if (needed > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), length, reinterpret_cast<wchar_t*>(&wide[0]),
                            needed);
    return wide;
}

Result<std::string> ansi_from_utf16(std::u16string_view text) {
    if (text.empty()) return std::string();
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 4))
        return Status::failure("a text too long for the ANSI code page's conversion");
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    // No best-fit look-alikes ("ř" as "r", a fullwidth quotation mark as '"'), and any
    // character left without a form is seen. A UTF-8 ANSI code page takes neither flag
    // nor the check, and holds every character.
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL defaulted = FALSE;
    BOOL* used_default = utf8 ? nullptr : &defaulted;
    const int needed = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, length,
                                           nullptr, 0, nullptr, used_default);
    if (needed <= 0) return last_error_status();
    if (defaulted) return no_ansi_form();
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, length, &ansi[0], needed,
                        nullptr, nullptr);
    // A lone surrogate has no form in any code page but may pass unflagged.
    if (utf16_from_ansi(ansi) != text) return no_ansi_form();
    return ansi;
}

}  // namespace tarnwell
