// Hex text of byte values.
#include <gtest/gtest.h>

#include <stdexcept>
#include "platform/system_platform.h"
#include "registry_access/clsRegistryAccess.h"
#include "support/scratch_key.h"

namespace tarnwell {
namespace {

class HexText : public ::testing::Test {
protected:
    SystemPlatform tp;
    clsRegistryAccess reg{tp.platform().registry, tp.platform().files, tp.platform().desktop};
};

struct StrToBinCase {
    std::string hex;
    std::string bytes;
    std::string rewritten;
};

TEST_F(HexText, StrToBinConvertsPairsAndRewritesItsArgument) {
    using namespace std::string_literals;
    const StrToBinCase cases[] = {
        {"01 0A ff", "\x01\x0A\xFF"s, "010Aff"},
        {" 0 1 0 a ", "\x01\x0A"s, "010a"},
        {"00", "\0"s, "00"},
        {"", "", ""},
        {"   ", "", ""},
        {"1G", "\x01"s, "1G"},        // leading hex digits only
        {"G1zz", "\0\0"s, "G1zz"},    // no leading digit gives 0
        {"ABC", "\xAB\x0C"s, "ABC"},  // a trailing single digit is a byte of its own
        {"7", "\x07"s, "7"},
    };
    for (const StrToBinCase& c : cases) {
        SCOPED_TRACE(c.hex);
        std::string hex = c.hex;
        EXPECT_EQ(reg.StrToBin(hex), c.bytes);
        EXPECT_EQ(hex, c.rewritten);
    }
}

TEST_F(HexText, BinToStrGivesSpacedUpperCasePairs) {
    using namespace std::string_literals;
    EXPECT_EQ(reg.BinToStr("\x00\x0A\xFF"s), " 00 0A FF");
    EXPECT_EQ(reg.BinToStr(""), "");
    std::string every_byte;
    for (int b = 0; b < 256; ++b)
        every_byte += static_cast<char>(b);
    std::string hex = reg.BinToStr(every_byte);
    EXPECT_EQ(hex.substr(0, 12), " 00 01 02 03");
    EXPECT_EQ(hex.substr(hex.size() - 6), " FE FF");
    EXPECT_EQ(reg.StrToBin(hex), every_byte);
}

TEST_F(HexText, TextsBeyond32767CharactersOverflow) {
    std::string digits(32767, 'a');
    EXPECT_EQ(reg.StrToBin(digits).size(), 16384u);
    std::string spaced = std::string(32768, '1') + "   ";
    try {
        reg.StrToBin(spaced);
        ADD_FAILURE() << "no overflow";
    } catch (const std::overflow_error& e) {
        EXPECT_EQ(std::string(e.what()), "Overflow");
    }
    EXPECT_EQ(reg.BinToStr(std::string(32767, 'x')).size(), 3u * 32767);
    EXPECT_THROW(reg.BinToStr(std::string(32768, 'x')), std::overflow_error);
}

TEST_F(HexText, IsBinValidAcceptsHexDigitsAndSpacesOnly) {
    const std::pair<const char*, bool> cases[] = {
        {"01 0a", true}, {"abc", true},  {"FF", true},  {"0G", false},   {"   ", false},
        {"", false},     {"0x1", false}, {"-1", false}, {"1\t2", false},
    };
    for (const auto& [text, valid] : cases)
        EXPECT_EQ(reg.isBinValid(text), valid) << text;
}

}  // namespace
}  // namespace tarnwell
