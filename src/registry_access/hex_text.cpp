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

// Hex digits to bytes, cut into pairs from the left, as the class has always read them:
// a pair gives the value of its leading hex digits ("1G" gives 1, "G1" gives 0); a
// single digit left at the end is a byte of its own value. Every character counts: the
// caller removes the spaces first.
std::string hex_bytes(std::string_view digits) {
    std::string bytes;
    bytes.reserve(digits.size() / 2 + 1);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        int value = 0;
        for (char c : digits.substr(i, 2)) {
            const int digit = hex_digit_value(c);
            if (digit < 0) break;
            value = value * 16 + digit;
        }
        bytes += static_cast<char>(value);
    }
    return bytes;
}

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
