#include <gtest/gtest.h>

#include <string>

#include "probes/special_folders.h"
#include "probes/trim_n.h"
#include "support/test_platform.h"

#if !defined(_WIN32)
#include "platform/host/host_platform.h"
#endif

namespace tarnwell {
namespace {

using namespace std::string_literals;

TEST(TrimN, RemovesSpacesThenTrailingNuls) {
    const struct {
        std::string input;
        std::string expected;
    } cases[] = {
        {"", ""},
        {"   ", ""},
        {"\0\0\0"s, ""},
        {"  abc\0\0\0"s, "abc"},
        {"abc \0"s, "abc "},              // the space before the NUL stays
        {"ab \0\0"s, "ab "},
        {"\0abc"s, "\0abc"s},             // leading NULs stay
        {"a\0b\0"s, "a\0b"s},             // a NUL in the middle stays
        {" \0 "s, ""},                    // spaces go first, then the NUL
        {"\tabc\t", "\tabc\t"},           // only code 32 counts as a space
        {"  two words  ", "two words"},
    };
    for (const auto& c : cases) EXPECT_EQ(TrimN(c.input), c.expected) << "input size " << c.input.size();
}

class SpecialFolders : public ::testing::Test {
protected:
    test::TestPlatform test_platform;
    ShellFolders& shell = test_platform.platform().shell;
};

TEST_F(SpecialFolders, LocalApplicationDataHasNoTrailingSeparatorOrBlanks) {
    const std::string path = GetSpecialFolderLocation(shell, 28);
    ASSERT_GE(path.size(), 3u);
    EXPECT_NE(path.back(), '\\');
    EXPECT_NE(path.back(), ' ');
    EXPECT_EQ(path.find('\0'), std::string::npos);
    EXPECT_EQ(path.substr(path.size() - 13), "AppData\\Local");
}

TEST_F(SpecialFolders, RejectedOrVirtualFoldersGiveAnEmptyText) {
    EXPECT_EQ(GetSpecialFolderLocation(shell, 0x7F7F), "");  // no such id
    EXPECT_EQ(GetSpecialFolderLocation(shell, 0x11), "");    // "My Computer" has no path
}

#if !defined(_WIN32)
TEST_F(SpecialFolders, EveryItemListIsFreed) {
    auto& twin_shell = test_platform.twin()->shell;
    GetSpecialFolderLocation(shell, 28);
    GetSpecialFolderLocation(shell, 0x11);
    GetSpecialFolderLocation(shell, 0x7F7F);
    EXPECT_EQ(twin_shell.outstanding_lists(), 0);
}
#endif

}  // namespace
}  // namespace tarnwell
