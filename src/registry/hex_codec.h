#pragma once
// Hex digits and hex pairs of bytes (one character per byte), for any length: the
// registry files write and read them, and the class's hex text builds on them.
#include <string>
#include <string_view>

namespace tarnwell {

// The value of one hex digit in either letter case; -1 for any other character.
int hex_digit_value(char c);

// The bytes as upper-case two-digit pairs with `separator` between them ("01,0A,FF");
// "" for no bytes.
std::string hex_pairs(std::string_view bytes, char separator);

}  // namespace tarnwell
