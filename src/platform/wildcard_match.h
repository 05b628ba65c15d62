#pragma once
// File-name patterns as Windows matches them for a directory search: "*" for any run
// of characters, "?" for one, letters compared without regard to case.
#include <string>

#include "common/text.h"

namespace tarnwell {

inline bool wildcard_match(const std::string& pattern, const std::string& name) {
    auto same = [](char a, char b) { return upper_char(a) == upper_char(b); };
    // Iterative match that backtracks only to the most recent "*".
    std::size_t p = 0, n = 0, star = std::string::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] != '*' &&
            (pattern[p] == '?' || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

}  // namespace tarnwell
