#pragma once
// Texts read from a fixed-size platform buffer or from the registry, cleaned.
#include <string>

namespace tarnwell {

// Without leading and trailing spaces, then without trailing NULs. Spaces that stood in
// front of trailing NULs stay; leading NULs and NULs in the middle stay.
std::string trimmed_stored_text(const std::string& text);

// What stands before the text's first NUL.
std::string text_before_nul(const std::string& text);

}  // namespace tarnwell
