#pragma once
// The class's one conversion between bytes (one character per byte) and hex text, for
// any length. The public StrToBin and BinToStr add their own limit on top of it; the
// REGEDIT4 export and import use it directly, so that values of any size go through.
#include <string>
#include <string_view>

namespace tarnwell {

// The value of one hex digit in either letter case; -1 for any other character.
int hex_digit_value(char c);

// The bytes as upper-case two-digit pairs with `separator` between them ("01,0A,FF");
// "" for no bytes.
std::string hex_pairs(std::string_view bytes, char separator);

// Hex digits to bytes, cut into pairs from the left. A pair gives the value of its
// leading hex digits ("1G" gives 1, "G1" gives 0); a single digit left at the end is a
// byte of its own value. Every character counts: the caller removes separators first.
std::string hex_bytes(std::string_view digits);

}  // namespace tarnwell
