#pragma once
// Cleans a text read from a fixed-size platform buffer or from the registry.
#include <string>

namespace tarnwell {

// Removes leading and trailing spaces, then trailing NULs. Spaces that stood in front
// of trailing NULs stay; leading NULs and NULs in the middle stay.
std::string TrimN(const std::string& chstr);

}  // namespace tarnwell
