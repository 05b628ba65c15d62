// The file layer's contract, on the host twin and under Wine on the real Windows calls:
// special folders, existence tests, pattern search as Windows resolves names (letter
// case aside, trailing dots and spaces dropped), copy and create that never replace a
// file, writes that replace one only when asked, files that reach their name only when
// whole, whole-file reads and files opened for reading.
#include <gtest/gtest.h>

#include "support/file_test_support.h"

namespace tarnwell {
namespace {

using test::file_text;
using test::must;

class FileSystemContract : public ::testing::Test {
protected:
    SystemPlatform tp;
    FileSystem& files = tp.platform().files;
    test::ScratchFolder folder{tp};
};

TEST_F(FileSystemContract, SearchFindsTheNameWindowsResolvesAPatternTo) {
    must(write_file(files, folder / "a.reg", "x"));
    const std::pair<const char*, bool> cases[] = {
        {"a.reg", true},   {"A.REG", true},    {"a.reg.", true}, {"a.reg..", true},
        {"a.reg ", true},  {"*.reg", true},    {"A?REG", true},  {"*", true},
        {"a.re", false},   {"a.reg.x", false}, {"b.reg", false}, {"*.regx", false},
        {"a?reg?", false},
    };
    for (const auto& [name, found] : cases)
        EXPECT_EQ(must(files.matches_exist(folder / name)), found) << name;

    // A listing names files only, by their long names, in name order.
    must(write_file(files, folder / "B.REG", "x"));
    must(write_file(files, folder / "a.regx", "x"));
    folder.make_folder("c.reg");
    EXPECT_EQ(must(files.list_files(folder.path(), "*.reg")),
              (std::vector<std::string>{"B.REG", "a.reg"}));
    EXPECT_EQ(must(files.list_files(folder / "none", "*.reg")), std::vector<std::string>());
}

TEST_F(FileSystemContract, WriteReplacesAFileOnlyWhenAskedAndNeverAFolder) {
    const std::string path = folder / "report.txt";
    must(write_file(files, path, "first"));
    const std::string long_text(3u << 20, 'r');
    for (const std::string& text :
         {std::string("second\r\n\0\x85\xE9", 11), std::string(), long_text}) {
        must(write_file(files, path, text, ExistingFile::replace));
        EXPECT_EQ(file_text(files, path), text);
    }
    const std::string sub = folder.make_folder("sub");
    for (ExistingFile existing : {ExistingFile::refuse, ExistingFile::replace}) {
        EXPECT_FALSE(write_file(files, sub, "x", existing).ok());
        EXPECT_TRUE(must(files.folder_exists(sub)));
        const Status missing = write_file(files, folder / "missing\\a.txt", "x", existing);
        EXPECT_FALSE(missing.ok());
        EXPECT_FALSE(missing.description().empty());
    }
    EXPECT_FALSE(must(files.matches_exist(folder / "*.tmp")));
}

TEST_F(FileSystemContract, CreateMakesOnlyNewFiles) {
    const std::string path = folder / "a.reg";
    must(write_file(files, path, "first"));
    EXPECT_EQ(file_text(files, path), "first");
    // Every name that reaches the same file, and a folder, is refused.
    must(write_file(files, folder / "empty.reg", ""));
    EXPECT_EQ(file_text(files, folder / "empty.reg"), "");
    for (const std::string& same : {path, folder / "A.REG", path + ".", path + " "}) {
        SCOPED_TRACE(same);
        EXPECT_FALSE(write_file(files, same, "second").ok());
        EXPECT_EQ(file_text(files, path), "first");
    }
}

TEST_F(FileSystemContract, SpecialFoldersHaveNoTrailingSeparator) {
    const std::string windows = must(files.special_folder(0));
    const std::string system = must(files.special_folder(1));
    EXPECT_TRUE(must(files.folder_exists(windows)));
    EXPECT_TRUE(must(files.folder_exists(system)));
    EXPECT_NE(windows.back(), '\\');
    EXPECT_EQ(system.rfind(windows + "\\", 0), 0u) << system;
    EXPECT_EQ(files.special_folder(7).status().description(), "Invalid procedure call or argument");
}

TEST_F(FileSystemContract, FilesAndFoldersAreToldApart) {
    must(write_file(files, folder / "Data.csv", "1"));
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
        EXPECT_EQ(must(files.file_exists(c.path)), c.file) << c.path;
        EXPECT_EQ(must(files.folder_exists(c.path)), c.folder) << c.path;
    }
}

TEST_F(FileSystemContract, CopyNeverReplacesAndAFailedCopyLeavesNoFile) {
    must(write_file(files, folder / "a.dat", "source"));
    must(write_file(files, folder / "b.dat", "kept"));
    must(files.copy_file(folder / "a.dat", folder / "c.dat"));
    EXPECT_EQ(file_text(files, folder / "c.dat"), "source");
    EXPECT_FALSE(files.copy_file(folder / "a.dat", folder / "b.dat").ok());
    EXPECT_EQ(file_text(files, folder / "b.dat"), "kept");
    EXPECT_FALSE(files.copy_file(folder / "none.dat", folder / "d.dat").ok());
    EXPECT_FALSE(files.copy_file(folder / "a.dat", folder / "missing\\e.dat").ok());
    EXPECT_FALSE(must(files.file_exists(folder / "d.dat")));
}

TEST_F(FileSystemContract, PendingFileReachesItsNameOnlyWhenKeptAndNeverReplacesOne) {
    const std::string path = folder / "out.reg";
    {
        const auto pending = must(files.create_pending_file(path));
        must(pending->write("REGEDIT4\r\n"));
        must(pending->write(std::string("\0\xff", 2)));
        EXPECT_FALSE(must(files.matches_exist(path)));
        must(pending->keep(ExistingFile::refuse));
    }
    EXPECT_EQ(file_text(files, path), std::string("REGEDIT4\r\n\0\xff", 12));

    // Dropped unkept, or refused by a file made meanwhile: the folder holds only what was
    // there, and the file made meanwhile is as it was.
    { must(must(files.create_pending_file(folder / "dropped.reg"))->write("x")); }
    const std::string raced = folder / "raced.reg";
    {
        const auto pending = must(files.create_pending_file(raced));
        must(pending->write("ours"));
        must(write_file(files, raced, "theirs"));
        EXPECT_FALSE(pending->keep(ExistingFile::refuse).ok());
    }
    EXPECT_EQ(file_text(files, raced), "theirs");
    EXPECT_FALSE(must(files.matches_exist(folder / "*.tmp")));
    EXPECT_FALSE(must(files.matches_exist(folder / "dropped.reg")));
    EXPECT_FALSE(files.create_pending_file(folder / "missing\\a.reg").ok());
}

TEST_F(FileSystemContract, FileOpenedForReadingGivesItsSizeAndItsBytesToOneRead) {
    const std::string contents[] = {"", std::string("\0\xff\r\n", 4), std::string(300000, 'q')};
    int n = 0;
    for (const std::string& content : contents) {
        SCOPED_TRACE(content.size());
        const std::string path = folder / ("r" + std::to_string(++n) + ".dat");
        must(write_file(files, path, content));
        const auto file = must(files.open_for_reading(path));
        ASSERT_EQ(must(file->size()), content.size());
        std::string buffer(content.size() + 10, '-');
        EXPECT_EQ(must(file->read(&buffer[0], buffer.size())), content.size());
        EXPECT_EQ(buffer.substr(0, content.size()), content);
        EXPECT_EQ(must(file->read(&buffer[0], buffer.size())), 0u);  // at the end
    }
}

TEST_F(FileSystemContract, OpeningAndWholeReadsRefuseMissingFilesAndFolders) {
    const std::string missing = folder / "none.dat";
    for (const std::string& path : {missing, folder / "no folder\\none.dat", folder.path()}) {
        SCOPED_TRACE(path);
        const auto opened = files.open_for_reading(path);
        EXPECT_FALSE(opened.ok());
        EXPECT_FALSE(opened.status().description().empty());
        EXPECT_FALSE(test::read_file(files, path).ok());
    }
    // Nothing is created by the attempt.
    EXPECT_FALSE(must(files.file_exists(missing)));
}

TEST(DeviceNames, AreToldFromFileNamesThatOnlyLookLikeThem) {
    for (const char* device : {"COM1", "C:\\AUX.txt", "out\\nul", "con .json", "Lpt9.x.y",
                               "COM1:", "CONOUT$", "\\\\.\\pipe\\x", "C:\\COM\xC2\xB9.txt"})
        EXPECT_TRUE(names_a_device(device)) << device;
    for (const char* file : {"", "COM10", "COM", "CONSOLE.txt", "aux1.txt", "C:\\NUL\\r.txt",
                             "C:", "report.con"})
        EXPECT_FALSE(names_a_device(file)) << file;
}

}  // namespace
}  // namespace tarnwell
