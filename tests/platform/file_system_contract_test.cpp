// What the REGEDIT4 export asks of the file layer, on the host twin and under Wine on
// the real Windows calls: a search finds a name as Windows resolves it (letter case
// aside, trailing dots and spaces dropped), and creating a file never replaces one.
#include <gtest/gtest.h>

#include "support/file_test_support.h"
#include "platform/run_time_error.h"

namespace tarnwell {
namespace {

class FileSystemContract : public ::testing::Test {
protected:
    test::TestPlatform tp;
    FileSystem& files = tp.platform().files;
    test::ScratchFolder folder{tp};
};

TEST_F(FileSystemContract, SearchFindsTheNameWindowsResolvesAPatternTo) {
    files.create_file(folder / "a.reg", "x");
    const std::pair<const char*, bool> cases[] = {
        {"a.reg", true},   {"A.REG", true},   {"a.reg.", true}, {"a.reg..", true},
        {"a.reg ", true},  {"*.reg", true},   {"A?REG", true},  {"*", true},
        {"a.re", false},   {"a.reg.x", false}, {"b.reg", false}, {"*.regx", false},
        {"a?reg?", false},
    };
    for (const auto& [name, found] : cases)
        EXPECT_EQ(files.matches_exist(folder / name), found) << name;
}

TEST_F(FileSystemContract, CreateMakesOnlyNewFiles) {
    const std::string path = folder / "a.reg";
    files.create_file(path, "first");
    EXPECT_EQ(files.read_file(path), "first");
    // Every name that reaches the same file, and a folder, is refused.
    files.create_file(folder / "empty.reg", "");
    EXPECT_EQ(files.read_file(folder / "empty.reg"), "");
    for (const std::string& same : {path, folder / "A.REG", path + ".", path + " "}) {
        SCOPED_TRACE(same);
        EXPECT_THROW(files.create_file(same, "second"), run_time_error);
        EXPECT_EQ(files.read_file(path), "first");
    }
    const std::string sub = folder.make_folder("sub");
    EXPECT_THROW(files.create_file(sub, "x"), run_time_error);
    EXPECT_TRUE(files.folder_exists(sub));
    EXPECT_THROW(files.create_file(folder / "missing\\a.reg", "x"), run_time_error);
}

}  // namespace
}  // namespace tarnwell
