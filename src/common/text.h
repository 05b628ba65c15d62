#pragma once
// Small text helpers shared by the subsystems. Texts are ANSI, one byte per character;
// letter case is compared as the "C" locale has it (A to Z against a to z only).
#include <cctype>
#include <string>
#include <string_view>

namespace tarnwell {

// The text without its leading and trailing spaces (code 32 only; tabs and NULs stay).
inline std::string_view trim_spaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The same for a text the caller owns, as a text of its own: a view into a temporary
// would not outlive the call.
inline std::string trim_spaces(const std::string& text) {
    return std::string(trim_spaces(std::string_view(text)));
}

// The text without the spaces and tabs at either end.
inline std::string_view trim_blanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

inline char upper_char(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

inline std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = upper_char(c);
    return result;
}

// True when `text` begins with `word`, letters compared without regard to case.
inline bool starts_with_ignoring_case(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (upper_char(text[i]) != upper_char(word[i])) return false;
    }
    return true;
}

inline bool equals_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && starts_with_ignoring_case(a, b);
}

// The text without every character that `dropped` holds.
inline std::string without_chars(std::string_view text, std::string_view dropped) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (dropped.find(c) == std::string_view::npos) result += c;
    }
    return result;
}

// A text as the registry stores it, without its terminating NUL; a text stored without
// one (or an empty value) is whole.
inline std::string_view without_final_nul(std::string_view stored) {
    if (!stored.empty() && stored.back() == '\0') stored.remove_suffix(1);
    return stored;
}

}  // namespace tarnwell
