// The search-and-copy behind the Update command, and the lines it writes.
#include <gtest/gtest.h>

#include "epsg/definitions_location.h"
#include "support/file_test_support.h"

namespace tarnwell {
namespace {

using test::file_text;
using test::must;

using test::HookedFileSystem;
using test::ScratchFolder;
using Lines = std::vector<std::string>;

const std::string file_name = "QRX_EPSG_definitions.dat";
const std::string start = "Test QRX_EPSG_definitions location";
const std::string in_bin = "Test for QRX_EPSG_definitions file in TarnwellDir";
const std::string in_common = "Test for QRX_EPSG_definitions file in WindowsCommonAppDir";
const std::string in_app = "Test for QRX_EPSG_definitions file in Plotwick folder";
const std::string returned = "Retuned QRX_EPSG_definitions location: ";
const std::string exists = "Plotwick QRX_EPSG_definitions file exists";
const std::string missing = "Plotwick QRX_EPSG_definitions file does not exist";

class DefinitionsLocationTest : public ::testing::Test {
protected:
    DefinitionsLocationTest() {
        folders.bin = folder.make_folder("Bin");
        folders.common_app = folder.make_folder("Common");
        folders.app = folder.make_folder("App");
    }

    std::string wanted() const { return folders.bin + "\\" + file_name; }
    AppendReportLine append() {
        return [this](const std::string& line) { lines.push_back(line); };
    }

    SystemPlatform platform;
    FileSystem& files = platform.platform().files;
    ScratchFolder folder{platform};
    SuiteFolders folders;
    Lines lines;
};

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

class UpdateCommandTest : public DefinitionsLocationTest,
                          public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(UpdateCommandTest, AppendsItsStepsAndCopiesIntoTheBinFolder) {
    const UpdateCase& c = GetParam();
    if (c.target == Target::no_bin_folder) folders.bin = folder / "Missing";
    if (c.target == Target::folder_of_that_name) folder.make_folder("Bin\\" + file_name);
    if (*c.place == '\0') folders.app.clear();  // searched at the root of the drive
    const std::string content = "definitions from " + std::string(c.place);
    const std::string place = c.place;
    if (place == "bin") must(write_file(files, wanted(), content));
    if (place == "common") must(write_file(files, folders.common_app + "\\" + file_name, content));
    if (place == "app") must(write_file(files, folders.app + "\\" + file_name, content));

    const AppFileUpdate update = update_definitions_location(folders, files, append());

    Lines expected = c.lines;
    for (std::string& line : expected) {
        if (!line.empty() && line.back() == '@') line = line.substr(0, line.size() - 1) + wanted();
    }
    EXPECT_EQ(lines, expected);
    const bool copied = !place.empty() && c.target == Target::free;
    ASSERT_EQ(must(files.file_exists(wanted())), copied);
    if (copied) {
        EXPECT_EQ(file_text(files, wanted()), content);
    }
    // A failed copy says where it copied from, with the system's reason.
    if (c.target == Target::free) {
        EXPECT_TRUE(update.copy.ok()) << update.copy.description();
    } else {
        EXPECT_EQ(update.source,
                  (place == "app" ? folders.app : folders.common_app) + "\\" + file_name);
        EXPECT_FALSE(update.copy.ok());
    }
}

INSTANTIATE_TEST_SUITE_P(Places, UpdateCommandTest, ::testing::ValuesIn(update_cases),
                         [](const ::testing::TestParamInfo<UpdateCase>& test_case) {
                             return std::string(test_case.param.name);
                         });

TEST_F(DefinitionsLocationTest, NameOfSpacesIsNoName) {
    for (const std::string& fname : {std::string(), std::string("   ")}) {
        lines.clear();
        EXPECT_EQ(locate_and_copy_app_file(fname, folders, files, append()).location, "");
        EXPECT_EQ(lines, Lines{"No QRX_EPSG_definitions file name specified"});
    }
}

TEST_F(DefinitionsLocationTest, SpecifiedNameIsTestedWithoutItsSurroundingSpaces) {
    must(write_file(files, wanted(), "x"));
    EXPECT_EQ(locate_and_copy_app_file("  " + wanted() + " ", folders, files, append()).location,
              wanted());
    EXPECT_EQ(lines, Lines{"Specified QRX_EPSG_definitions file name exists"});
}

TEST_F(DefinitionsLocationTest, CopyNeverReplacesAFileThatAppearedMeanwhile) {
    must(write_file(files, folders.common_app + "\\" + file_name, "from CommonAppDir"));
    // Another program writes the wanted file once the search has begun.
    HookedFileSystem hooked(files, [&](const std::string& operation, const std::string& path) {
        if (operation == "file_exists" && path.rfind(folders.common_app, 0) == 0)
            must(write_file(files, wanted(), "written meanwhile"));
        return Status();
    });
    EXPECT_EQ(locate_and_copy_app_file(wanted(), folders, hooked, append()).location, wanted());
    EXPECT_EQ(file_text(files, wanted()), "written meanwhile");
}

TEST_F(DefinitionsLocationTest, FailingStepsAreSkippedAndTheCopysReasonIsKept) {
    must(write_file(files, folders.app + "\\" + file_name, "from App"));
    // The bin folder's test fails as on a failing device; the copy as into a folder
    // the user may not write to, or onto a full disk.
    for (const std::string reason :
         {"Access is denied.", "There is not enough space on the disk."}) {
        lines.clear();
        HookedFileSystem hooked(files, [&](const std::string& operation, const std::string& path) {
            if (operation == "file_exists" && path.rfind(folders.bin, 0) == 0)
                return Status(1117, "Device I/O error");
            if (operation == "copy_file") return Status(5, reason);
            return Status();
        });
        const AppFileUpdate update = update_definitions_location(folders, hooked, append());
        EXPECT_EQ(lines, (Lines{start, in_bin, in_common, in_app, returned + wanted(), missing}));
        EXPECT_FALSE(must(files.file_exists(wanted())));
        EXPECT_EQ(update.source, folders.app + "\\" + file_name);
        EXPECT_EQ(update.copy.description(), reason);
    }
}

TEST_F(DefinitionsLocationTest, TheWantedPathIsReturnedAfterAFailedCopy) {
    must(write_file(files, folders.common_app + "\\" + file_name, "from CommonAppDir"));
    folders.bin = folder / "Missing";
    const AppFileUpdate update = locate_and_copy_app_file(wanted(), folders, files, append());
    EXPECT_EQ(update.location, wanted());
    EXPECT_EQ(update.source, folders.common_app + "\\" + file_name);
    EXPECT_FALSE(update.copy.ok());
}

}  // namespace
}  // namespace tarnwell
