// Hex text of byte values: "01 0A FF" <-> the bytes 1, 10, 255 (one character per byte).
#include "common/text.h"
#include "platform/run_time_error.h"
#include "registry/clsRegistryAccess.h"
#include "registry/hex_codec.h"

namespace tarnwell {

namespace {

// Texts are counted in a signed 16-bit number.
constexpr std::size_t max_text = 32767;

}  // namespace

std::string clsRegistryAccess::StrToBin(std::string& sBin) {
    sBin = without_chars(sBin, " ");
    if (sBin.size() > max_text) throw run_time_error("Overflow");
    return hex_bytes(sBin);
}

std::string clsRegistryAccess::BinToStr(const std::string& sStr) {
    if (sStr.size() > max_text) throw run_time_error("Overflow");
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
