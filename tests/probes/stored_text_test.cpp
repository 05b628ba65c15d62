// Texts read from a fixed-size buffer or from the registry, cleaned.
#include <gtest/gtest.h>

#include <string>

#include "probes/stored_text.h"

namespace tarnwell {
namespace {

using namespace std::string_literals;

TEST(StoredText, TrimmedOfSpacesThenTrailingNuls) {
    const struct {
        std::string input;
        std::string expected;
    } cases[] = {
        {"", ""},
        {"   ", ""},
        {"\0\0\0"s, ""},
        {"  abc\0\0\0"s, "abc"},
        {"abc \0"s, "abc "},  // the space before the NUL stays
        {"ab \0\0"s, "ab "},
        {"\0abc"s, "\0abc"s},    // leading NULs stay
        {"a\0b\0"s, "a\0b"s},    // a NUL in the middle stays
        {" \0 "s, ""},           // spaces go first, then the NUL
        {"\tabc\t", "\tabc\t"},  // only code 32 counts as a space
        {"  two words  ", "two words"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(trimmed_stored_text(c.input), c.expected) << "input size " << c.input.size();
}

}  // namespace
}  // namespace tarnwell
