// The file layer's contract, on the host twin and under Wine on the real Windows calls:
// special folders, existence tests, the file-name part of a path, pattern search as
// Windows resolves names (letter case aside, trailing dots and spaces dropped), copy and
// create that never replace a file, files that reach their name only when whole,
// whole-file reads and files opened for reading.
#include <gtest/gtest.h>

#include "platform/run_time_error.h"
#include "support/file_test_support.h"

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
        {"a.reg", true},   {"A.REG", true},    {"a.reg.", true}, {"a.reg..", true},
        {"a.reg ", true},  {"*.reg", true},    {"A?REG", true},  {"*", true},
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

TEST_F(FileSystemContract, SpecialFoldersHaveNoTrailingSeparator) {
    const std::string windows = files.special_folder(0);
    const std::string system = files.special_folder(1);
    EXPECT_TRUE(files.folder_exists(windows));
    EXPECT_TRUE(files.folder_exists(system));
    EXPECT_NE(windows.back(), '\\');
    EXPECT_EQ(system.rfind(windows + "\\", 0), 0u) << system;
    EXPECT_THROW(files.special_folder(7), run_time_error);
}

TEST_F(FileSystemContract, FilesAndFoldersAreToldApart) {
    files.create_file(folder / "Data.csv", "1");
    const std::string sub = folder.make_folder("tbl");
    const struct {
        std::string path;
        bool file, folder;
    } cases[] = {
        {folder / "Data.csv", true, false},
        {folder / "DATA.CSV", true, false},
        {sub, false, true},
        {folder / "TBL", false, true},
        {folder / "none.csv", false, false},
        {folder / "none\\x.csv", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files.file_exists(c.path), c.file) << c.path;
        EXPECT_EQ(files.folder_exists(c.path), c.folder) << c.path;
    }
}

TEST_F(FileSystemContract, FileNameIsTheTextAfterTheLastSeparator) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Bin\\Tarnwell\\QRX_EPSG_definitions.dat", "QRX_EPSG_definitions.dat"},
        {"C:\\Bin\\", ""},
        {"name.dat", "name.dat"},
        {"C:/Bin/x.dat", "x.dat"},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(files.file_name(path), name) << path;
}

TEST_F(FileSystemContract, CopyNeverReplacesAndAFailedCopyLeavesNoFile) {
    files.create_file(folder / "a.dat", "source");
    files.create_file(folder / "b.dat", "kept");
    files.copy_file(folder / "a.dat", folder / "c.dat");
    EXPECT_EQ(files.read_file(folder / "c.dat"), "source");
    EXPECT_THROW(files.copy_file(folder / "a.dat", folder / "b.dat"), run_time_error);
    EXPECT_EQ(files.read_file(folder / "b.dat"), "kept");
    EXPECT_THROW(files.copy_file(folder / "none.dat", folder / "d.dat"), run_time_error);
    EXPECT_THROW(files.copy_file(folder / "a.dat", folder / "missing\\e.dat"), run_time_error);
    EXPECT_FALSE(files.file_exists(folder / "d.dat"));
}

TEST_F(FileSystemContract, ReadsAreWholeAndCreateNothing) {
    const std::string path = folder / "log.txt";
    files.create_file(path, std::string("REGEDIT4\r\n\0\xff", 12));
    EXPECT_EQ(files.read_file(path), std::string("REGEDIT4\r\n\0\xff", 12));
    EXPECT_THROW(files.read_file(folder / "none.txt"), run_time_error);
    EXPECT_THROW(files.read_file(folder.path()), run_time_error);
    EXPECT_FALSE(files.file_exists(folder / "none.txt"));
}

TEST_F(FileSystemContract, PendingFileReachesItsNameOnlyWhenKeptAndNeverReplacesOne) {
    const std::string path = folder / "out.reg";
    {
        const auto pending = files.create_pending_file(path);
        pending->write("REGEDIT4\r\n");
        pending->write(std::string("\0\xff", 2));
        EXPECT_FALSE(files.matches_exist(path));
        pending->keep();
    }
    EXPECT_EQ(files.read_file(path), std::string("REGEDIT4\r\n\0\xff", 12));

    // Dropped unkept, or refused by a file made meanwhile: the folder holds only what was
    // there, and the file made meanwhile is as it was.
    { files.create_pending_file(folder / "dropped.reg")->write("x"); }
    const std::string raced = folder / "raced.reg";
    {
        const auto pending = files.create_pending_file(raced);
        pending->write("ours");
        files.create_file(raced, "theirs");
        EXPECT_THROW(pending->keep(), run_time_error);
    }
    EXPECT_EQ(files.read_file(raced), "theirs");
    EXPECT_FALSE(files.matches_exist(folder / "*.tmp"));
    EXPECT_FALSE(files.matches_exist(folder / "dropped.reg"));
    EXPECT_THROW(files.create_pending_file(folder / "missing\\a.reg"), run_time_error);
}

TEST_F(FileSystemContract, FileOpenedForReadingGivesItsSizeAndItsBytesToOneRead) {
    const std::string contents[] = {"", std::string("\0\xff\r\n", 4), std::string(300000, 'q')};
    int n = 0;
    for (const std::string& content : contents) {
        SCOPED_TRACE(content.size());
        const std::string path = folder / ("r" + std::to_string(++n) + ".dat");
        files.create_file(path, content);
        const auto file = files.open_for_reading(path);
        ASSERT_EQ(file->size(), content.size());
        std::string buffer(content.size() + 10, '-');
        EXPECT_EQ(file->read(&buffer[0], buffer.size()), content.size());
        EXPECT_EQ(buffer.substr(0, content.size()), content);
        EXPECT_EQ(file->read(&buffer[0], buffer.size()), 0u);  // at the end
    }
}

TEST_F(FileSystemContract, OpenForReadingRefusesMissingFilesAndFolders) {
    const std::string missing = folder / "none.dat";
    for (const std::string& path : {missing, folder / "no folder\\none.dat", folder.path()}) {
        SCOPED_TRACE(path);
        EXPECT_THROW(files.open_for_reading(path), run_time_error);
    }
    // Nothing is created by the attempt.
    EXPECT_FALSE(files.file_exists(missing));
}

}  // namespace
}  // namespace tarnwell
