// Hex text of byte values: "01 0A FF" <-> the bytes 1, 10, 255 (one character per byte).
#include "common/text.h"
#include "platform/run_time_error.h"
#include "registry/clsRegistryAccess.h"

namespace tarnwell {

namespace {

// Texts are counted in a signed 16-bit number.
constexpr std::size_t max_text = 32767;

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value of the leading hex digits of one or two characters; 0 when there is none.
char byte_of(const std::string& digits) {
    int value = 0;
    for (char c : digits) {
        const int d = hex_digit(c);
        if (d < 0) break;
        value = value * 16 + d;
    }
    return static_cast<char>(value);
}

}  // namespace

std::string clsRegistryAccess::StrToBin(std::string& sBin) {
    sBin = without_chars(sBin, " ");
    if (sBin.empty()) return {};
    if (sBin.size() > max_text) throw run_time_error("Overflow");
    // A single digit left at the end is a byte of its own value.
    std::string bytes;
    bytes.reserve(sBin.size() / 2 + 1);
    for (std::size_t i = 0; i < sBin.size(); i += 2) bytes += byte_of(sBin.substr(i, 2));
    return bytes;
}

std::string clsRegistryAccess::BinToStr(const std::string& sStr) {
    if (sStr.size() > max_text) throw run_time_error("Overflow");
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(sStr.size() * 3);
    for (char c : sStr) {
        const auto code = static_cast<unsigned char>(c);
        text += ' ';
        text += digits[code >> 4];
        text += digits[code & 0x0F];
    }
    return text;
}

bool clsRegistryAccess::isBinValid(const std::string& sBin) {
    const std::string digits = without_chars(sBin, " ");
    if (digits.empty()) return false;
    for (char c : digits)
        if (hex_digit(c) < 0) return false;
    return true;
}

}  // namespace tarnwell
