// Hex text of byte values: "01 0A FF" <-> the bytes 1, 10, 255 (one character per byte).
#include <stdexcept>

#include "common/text.h"
#include "registry/hex_codec.h"
#include "registry_access/clsRegistryAccess.h"

namespace tarnwell {

namespace {

// The class counts its hex texts in a signed 16-bit number: StrToBin and BinToStr raise
// an overflow beyond this many characters.
constexpr std::size_t longest_hex_text = 32767;

}  // namespace

std::string clsRegistryAccess::StrToBin(std::string& sBin) {
    sBin = without_chars(sBin, " ");
    if (sBin.size() > longest_hex_text) throw std::overflow_error("Overflow");
    return hex_bytes(sBin);
}

std::string clsRegistryAccess::BinToStr(const std::string& sStr) {
    if (sStr.size() > longest_hex_text) throw std::overflow_error("Overflow");
    // Every pair has a space in front, the first one too.
    return sStr.empty() ? std::string() : " " + hex_pairs(sStr, ' ');
}

bool clsRegistryAccess::isBinValid(const std::string& sBin) {
    const std::string digits = without_chars(sBin, " ");
    if (digits.empty()) return false;
    for (char c : digits) {
        if (hex_digit_value(c) < 0) return false;
    }
    return true;
}

}  // namespace tarnwell
