#include <gtest/gtest.h>

#include "app/pane_text.h"

namespace tarnwell::test {
namespace {

TEST(PaneText, KeepsTheTextToItsFirstNulWithEveryBreakAsOneCr) {
    using namespace std::string_literals;
    const struct {
        std::string written, held;
    } cases[] = {
        {"head\r\rline\r", "head\r\rline\r"},
        {"a\r\nb\nc\n\r", "a\rb\rc\r\r"},
        {"a\tb\xe9\x81", "a\tb\xe9\x81"},
        {"before\0after\r"s, "before"},
    };
    for (const auto& c : cases) EXPECT_EQ(as_pane_holds(c.written), c.held) << c.written;
}

}  // namespace
}  // namespace tarnwell::test
