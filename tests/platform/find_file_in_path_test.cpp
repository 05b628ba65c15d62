#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>

#include "support/find_file_in_path.h"

namespace tarnwell {
namespace {

// Folders and the names of the files in them, looked up without regard to case.
class Folders {
public:
    explicit Folders(std::map<std::string, std::string> files) : files_(std::move(files)) {}
    find_in_folder lookup() const {
        return [this](const std::string& folder, const std::string& name) -> std::string {
            for (const auto& [path, stored] : files_) {
                const std::size_t cut = path.rfind('\\');
                if (path.substr(0, cut) == folder && strcasecmp_like(path.substr(cut + 1), name))
                    return stored;
            }
            return {};
        };
    }

private:
    static bool strcasecmp_like(const std::string& a, const std::string& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) !=
                std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }
    std::map<std::string, std::string> files_;  // full path -> name as stored
};

struct SearchCase {
    const char* what;
    const char* path_list;
    const char* name;
    const char* expected;  // the path written, or "" when not found
};

TEST(FindFileInPath, SearchesThePathListInOrder) {
    // A lookup that would find anything by name, even one with a drive or stream colon.
    const Folders folders({{"C:\\A\\plotwick.exe", "plotwick.exe"},
                           {"C:\\B\\plotwick.exe", "plotwick.exe"},
                           {"C:\\B\\Solidane.EXE", "Solidane.EXE"},
                           {"C:\\A\\C:plotwick.exe", "C:plotwick.exe"}});
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
                              c.path_list, folders.lookup());
        const std::string expected = c.expected;
        EXPECT_EQ(found, static_cast<std::int32_t>(expected.size())) << c.what;
        // The path stands at the start; the rest of the buffer stays blank.
        EXPECT_EQ(buffer.substr(0, expected.size()), expected) << c.what;
        EXPECT_EQ(buffer.find_first_not_of(' ', expected.size()), std::string::npos) << c.what;
    }
}

TEST(FindFileInPath, NeverWritesPastTheBufferNorStopsAtAPathTooLong) {
    const std::string folder = "C:\\" + std::string(300, 'x');
    const Folders folders({{folder + "\\p.exe", "p.exe"}, {"C:\\S\\p.exe", "p.exe"}});
    // Guard bytes after a 16-character buffer.
    std::string memory(16, ' ');
    memory += "GUARD";
    EXPECT_EQ(find_file_in_path("p.exe", 5, &memory[0], 16, folder, folders.lookup()), 0);
    // A folder whose path does not fit is passed over, not the end of the search.
    EXPECT_EQ(find_file_in_path("p.exe", 5, &memory[0], 16, folder + ";C:\\S", folders.lookup()),
              10);
    EXPECT_EQ(memory, "C:\\S\\p.exe      GUARD");
    // A path exactly as long as the buffer fits.
    EXPECT_EQ(find_file_in_path("p.exe", 5, &memory[0], 10, "C:\\S", folders.lookup()), 10);
}

TEST(FindFileInPath, TheNameEndsAtItsLengthOrAtANul) {
    const Folders folders(std::map<std::string, std::string>{{"C:\\A\\plot", "plot"}});
    std::string buffer(256, ' ');
    EXPECT_EQ(find_file_in_path("plotwick.exe", 4, &buffer[0], 256, "C:\\A", folders.lookup()), 9);
    EXPECT_EQ(find_file_in_path(nullptr, 4, &buffer[0], 256, "C:\\A", folders.lookup()), 0);
    EXPECT_EQ(find_file_in_path("plot", 0, &buffer[0], 256, "C:\\A", folders.lookup()), 0);
    EXPECT_EQ(find_file_in_path("plot", -3, &buffer[0], 256, "C:\\A", folders.lookup()), 0);
}

}  // namespace
}  // namespace tarnwell
