// Finding a file along a path list, with the folders' files kept in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "support/find_file_in_path.h"

namespace tarnwell {
namespace {

// A lookup in the files at these full paths: a name is found without regard to case and
// given back as stored.
find_in_folder lookup_in(std::vector<std::string> files) {
    return [files](const std::string& folder, const std::string& name) -> std::string {
        const auto same_letter = [](unsigned char a, unsigned char b) {
            return std::tolower(a) == std::tolower(b);
        };
        for (const std::string& path : files) {
            const std::size_t cut = path.rfind('\\');
            const std::string stored = path.substr(cut + 1);
            if (path.substr(0, cut) == folder &&
                std::equal(stored.begin(), stored.end(), name.begin(), name.end(), same_letter))
                return stored;
        }
        return {};
    };
}

struct SearchCase {
    const char* what;
    const char* path_list;
    const char* name;
    const char* expected;  // the path written, or "" when not found
};

TEST(FindFileInPath, SearchesThePathListInOrder) {
    // A lookup that would find anything by name, even one with a drive or stream colon.
    const find_in_folder lookup = lookup_in({"C:\\A\\plotwick.exe", "C:\\B\\plotwick.exe",
                                             "C:\\B\\Solidane.EXE", "C:\\A\\C:plotwick.exe"});
    const SearchCase cases[] = {
        {"first folder wins", "C:\\A;C:\\B", "plotwick.exe", "C:\\A\\plotwick.exe"},
        {"order of the list", "C:\\B;C:\\A", "plotwick.exe", "C:\\B\\plotwick.exe"},
        {"name as stored", "C:\\A;C:\\B", "solidane.exe", "C:\\B\\Solidane.EXE"},
        {"quoted entry, trailing separator", "\"C:\\B\\\";;", "solidane.exe",
         "C:\\B\\Solidane.EXE"},
        {"trailing forward slash", "C:\\B/", "solidane.exe", "C:\\B\\Solidane.EXE"},
        {"not on the path", "C:\\A", "Solidane.exe", ""},
        {"empty path", "", "plotwick.exe", ""},
        {"a path is not a name", "C:\\A", "C:\\A\\plotwick.exe", ""},
        {"nor is a name on a drive", "C:\\A", "C:plotwick.exe", ""},
    };
    for (const SearchCase& c : cases) {
        std::string buffer(256, ' ');
        const std::string name = c.name;
        const std::int32_t found =
            find_file_in_path(name.c_str(), static_cast<std::int32_t>(name.size()), &buffer[0], 256,
                              c.path_list, lookup);
        const std::string expected = c.expected;
        EXPECT_EQ(found, static_cast<std::int32_t>(expected.size())) << c.what;
        // The path stands at the start; the rest of the buffer stays blank.
        EXPECT_EQ(buffer.substr(0, expected.size()), expected) << c.what;
        EXPECT_EQ(buffer.find_first_not_of(' ', expected.size()), std::string::npos) << c.what;
    }
}

TEST(FindFileInPath, NeverWritesPastTheBufferNorStopsAtAPathTooLong) {
    const std::string folder = "C:\\" + std::string(300, 'x');
    const find_in_folder lookup = lookup_in({folder + "\\p.exe", "C:\\S\\p.exe"});
    // Guard bytes after a 16-character buffer.
    std::string memory(16, ' ');
    memory += "GUARD";
    EXPECT_EQ(find_file_in_path("p.exe", 5, &memory[0], 16, folder, lookup), 0);
    // A folder whose path does not fit is passed over, not the end of the search.
    EXPECT_EQ(find_file_in_path("p.exe", 5, &memory[0], 16, folder + ";C:\\S", lookup), 10);
    EXPECT_EQ(memory, "C:\\S\\p.exe      GUARD");
    // A path exactly as long as the buffer fits.
    EXPECT_EQ(find_file_in_path("p.exe", 5, &memory[0], 10, "C:\\S", lookup), 10);
}

TEST(FindFileInPath, TheNameEndsAtItsLengthOrAtANul) {
    const find_in_folder lookup = lookup_in({"C:\\A\\plot"});
    std::string buffer(256, ' ');
    EXPECT_EQ(find_file_in_path("plotwick.exe", 4, &buffer[0], 256, "C:\\A", lookup), 9);
    EXPECT_EQ(find_file_in_path(nullptr, 4, &buffer[0], 256, "C:\\A", lookup), 0);
    EXPECT_EQ(find_file_in_path("plot", 0, &buffer[0], 256, "C:\\A", lookup), 0);
    EXPECT_EQ(find_file_in_path("plot", -3, &buffer[0], 256, "C:\\A", lookup), 0);
}

}  // namespace
}  // namespace tarnwell
