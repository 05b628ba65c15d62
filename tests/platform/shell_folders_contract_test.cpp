// The shell's special folders, on the host twin and under Wine.
#include <gtest/gtest.h>

#include <string>

#include "platform/system_platform.h"

namespace tarnwell {
namespace {

class ShellFoldersContract : public ::testing::Test {
protected:
    SystemPlatform system;
    ShellFolders& shell = system.platform().shell;
};

TEST_F(ShellFoldersContract, LocalApplicationDataHasNoTrailingSeparatorOrBlanks) {
    const std::string path = shell.folder_path(28);
    ASSERT_GE(path.size(), 3u);
    EXPECT_NE(path.back(), '\\');
    EXPECT_NE(path.back(), ' ');
    EXPECT_EQ(path.find('\0'), std::string::npos);
    EXPECT_EQ(path.substr(path.size() - 13), "AppData\\Local");
}

TEST_F(ShellFoldersContract, RejectedOrVirtualFoldersGiveAnEmptyText) {
    EXPECT_EQ(shell.folder_path(0x7F7F), "");  // no such id
    EXPECT_EQ(shell.folder_path(0x11), "");    // "My Computer" has no path
}

}  // namespace
}  // namespace tarnwell
