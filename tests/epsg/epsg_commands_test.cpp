// The Test and Update commands and the search-and-copy behind the Update command.
#include <gtest/gtest.h>

#include "epsg/epsg_commands.h"
#include "epsg_writer/epsg_writer.h"
#include "platform/run_time_error.h"
#include "support/file_test_support.h"

namespace tarnwell {
namespace {

using test::HookedFileSystem;
using test::ScratchFolder;
using test::TestPlatform;
using Lines = std::vector<std::string>;

const std::string file_name = "QRX_EPSG_definitions.dat";
const std::string start = "Test QRX_EPSG_definitions location";
const std::string in_bin = "Test for QRX_EPSG_definitions file in TarnwellDir";
const std::string in_common = "Test for QRX_EPSG_definitions file in WindowsCommonAppDir";
const std::string in_app = "Test for QRX_EPSG_definitions file in Plotwick folder";
const std::string returned = "Retuned QRX_EPSG_definitions location: ";
const std::string exists = "Plotwick QRX_EPSG_definitions file exists";
const std::string missing = "Plotwick QRX_EPSG_definitions file does not exist";

class EpsgCommandsTest : public ::testing::Test {
protected:
    EpsgCommandsTest() {
        folders.bin = folder.make_folder("Bin");
        folders.common_app = folder.make_folder("Common");
        folders.app = folder.make_folder("App");
    }

    std::string wanted() const { return folders.bin + "\\" + file_name; }
    // Lines come before any message box.
    AppendReportLine append() {
        return [this](const std::string& line) {
            EXPECT_TRUE(desktop.messages.empty()) << "a line after a message box: " << line;
            lines.push_back(line);
        };
    }

    TestPlatform platform;
    FileSystem& files = platform.platform().files;
    ScratchFolder folder{platform};
    SuiteFolders folders;
    Lines lines;
    HostDesktop desktop;
};

TEST_F(EpsgCommandsTest, TestCommandSaysWhetherTheFileReadsThrough) {
    EpsgStore store;
    const std::string path = wanted();
    std::string bytes = epsg_writer::write_file({}).bytes;
    files.create_file(path, bytes);
    test_epsg_definitions(path, files, desktop, store);
    EXPECT_EQ(desktop.messages, Lines{"The EPSG definition file " + path + " is valid"});
    EXPECT_EQ(desktop.message_kinds, std::vector<MessageKind>{MessageKind::information});

    // A negative count in section 3: the reader's message first, then the verdict.
    epsg_writer::put_int32(bytes, epsg_writer::write_file({}).block_start[3], -1);
    const std::string bad = folder / "bad.dat";
    files.create_file(bad, bytes);
    desktop = HostDesktop();
    test_epsg_definitions(bad, files, desktop, store);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].rfind(
                  "An error occurred while reading the EPSG definitions at stage 3 : ", 0),
              0u);
    EXPECT_EQ(desktop.messages[1], "The EPSG definition file " + bad + " is not valid");
    EXPECT_EQ(desktop.message_kinds,
              (std::vector<MessageKind>{MessageKind::error, MessageKind::error}));
}

// What stands at the wanted path before the Update command.
enum class Target { free, no_bin_folder, folder_of_that_name };

// Where the file stands before the Update command, and the lines the command appends.
struct UpdateCase {
    const char* name;
    const char* place;  // "bin", "common", "app" or "" for nowhere (and no App folder)
    Target target;
    Lines lines;  // "@" stands for the wanted path
};

const UpdateCase update_cases[] = {
    {"InBin",
     "bin",
     Target::free,
     {start, "Specified QRX_EPSG_definitions file name exists", returned + "@", exists}},
    {"InCommonAppDir", "common", Target::free, {start, in_bin, in_common, returned + "@", exists}},
    {"InAppFolder",
     "app",
     Target::free,
     {start, in_bin, in_common, in_app, returned + "@", exists}},
    {"Nowhere",
     "",
     Target::free,
     {start, in_bin, in_common, in_app, "No QRX_EPSG_definitions.dat file located", returned}},
    {"BinFolderMissing",
     "common",
     Target::no_bin_folder,
     {start, in_bin, in_common, returned + "@", missing}},
    {"FolderInTheWay",
     "app",
     Target::folder_of_that_name,
     {start, in_bin, in_common, in_app, returned + "@", missing}},
};

class UpdateCommandTest : public EpsgCommandsTest,
                          public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(UpdateCommandTest, AppendsItsStepsAndCopiesIntoTheBinFolder) {
    const UpdateCase& c = GetParam();
    if (c.target == Target::no_bin_folder) folders.bin = folder / "Missing";
    if (c.target == Target::folder_of_that_name) folder.make_folder("Bin\\" + file_name);
    if (*c.place == '\0') folders.app.clear();  // searched at the root of the drive
    const std::string content = "definitions from " + std::string(c.place);
    const std::string place = c.place;
    if (place == "bin") files.create_file(wanted(), content);
    if (place == "common") files.create_file(folders.common_app + "\\" + file_name, content);
    if (place == "app") files.create_file(folders.app + "\\" + file_name, content);

    update_epsg_app_location(folders, files, desktop, append());

    Lines expected = c.lines;
    for (std::string& line : expected) {
        if (!line.empty() && line.back() == '@') line = line.substr(0, line.size() - 1) + wanted();
    }
    EXPECT_EQ(lines, expected);
    const bool copied = !place.empty() && c.target == Target::free;
    ASSERT_EQ(files.file_exists(wanted()), copied);
    if (copied) {
        EXPECT_EQ(files.read_file(wanted()), content);
    }
    // A failed copy is explained after the lines, with the system's reason.
    if (c.target == Target::free) {
        EXPECT_TRUE(desktop.messages.empty()) << desktop.messages.front();
    } else {
        const std::string source =
            (place == "app" ? folders.app : folders.common_app) + "\\" + file_name;
        const std::string prefix = "An error occurred while copying the EPSG definitions file " +
                                   source + " to " + wanted() + ": ";
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].rfind(prefix, 0), 0u) << desktop.messages[0];
        EXPECT_GT(desktop.messages[0].size(), prefix.size()) << "no reason given";
        EXPECT_EQ(desktop.message_kinds, std::vector<MessageKind>{MessageKind::error});
    }
}

INSTANTIATE_TEST_SUITE_P(Places, UpdateCommandTest, ::testing::ValuesIn(update_cases),
                         [](const ::testing::TestParamInfo<UpdateCase>& test_case) {
                             return std::string(test_case.param.name);
                         });

TEST_F(EpsgCommandsTest, NameOfSpacesIsNoName) {
    for (const std::string& fname : {std::string(), std::string("   ")}) {
        lines.clear();
        EXPECT_EQ(update_app_file(fname, folders, files, append()), "");
        EXPECT_EQ(lines, Lines{"No QRX_EPSG_definitions file name specified"});
    }
}

TEST_F(EpsgCommandsTest, SpecifiedNameIsTestedWithoutItsSurroundingSpaces) {
    files.create_file(wanted(), "x");
    EXPECT_EQ(update_app_file("  " + wanted() + " ", folders, files, append()), wanted());
    EXPECT_EQ(lines, Lines{"Specified QRX_EPSG_definitions file name exists"});
}

TEST_F(EpsgCommandsTest, CopyNeverReplacesAFileThatAppearedMeanwhile) {
    files.create_file(folders.common_app + "\\" + file_name, "from CommonAppDir");
    // Another program writes the wanted file once the search has begun.
    HookedFileSystem hooked(files, [&](const std::string& operation, const std::string& path) {
        if (operation == "file_exists" && path.rfind(folders.common_app, 0) == 0)
            files.create_file(wanted(), "written meanwhile");
    });
    EXPECT_EQ(update_app_file(wanted(), folders, hooked, append()), wanted());
    EXPECT_EQ(files.read_file(wanted()), "written meanwhile");
}

TEST_F(EpsgCommandsTest, FailingStepsAreSkippedAndTheCopysReasonComesAfterTheLines) {
    files.create_file(folders.app + "\\" + file_name, "from App");
    // The bin folder's test fails as on a failing device; the copy as into a folder
    // the user may not write to, or onto a full disk.
    for (const std::string reason :
         {"Access is denied.", "There is not enough space on the disk."}) {
        lines.clear();
        desktop = HostDesktop();
        HookedFileSystem hooked(files, [&](const std::string& operation, const std::string& path) {
            if (operation == "file_exists" && path.rfind(folders.bin, 0) == 0)
                throw run_time_error("Device I/O error");
            if (operation == "copy_file") throw run_time_error(reason);
        });
        update_epsg_app_location(folders, hooked, desktop, append());
        EXPECT_EQ(lines, (Lines{start, in_bin, in_common, in_app, returned + wanted(), missing}));
        EXPECT_FALSE(files.file_exists(wanted()));
        EXPECT_EQ(desktop.messages,
                  Lines{"An error occurred while copying the EPSG definitions file " + folders.app +
                        "\\" + file_name + " to " + wanted() + ": " + reason});
    }
}

TEST_F(EpsgCommandsTest, UpdateAppFileStillReturnsTheWantedPathAfterAFailedCopy) {
    files.create_file(folders.common_app + "\\" + file_name, "from CommonAppDir");
    folders.bin = folder / "Missing";
    EXPECT_EQ(update_app_file(wanted(), folders, files, append()), wanted());
    const AppFileUpdate update = locate_and_copy_app_file(wanted(), folders, files, append());
    EXPECT_EQ(update.location, wanted());
    EXPECT_EQ(update.source, folders.common_app + "\\" + file_name);
    EXPECT_FALSE(update.copy_failure.empty());
}

}  // namespace
}  // namespace tarnwell
