// Writing the report to a file under Wine: the bytes as they are, no replacing unless
// asked, a reason when it fails.
#include "app/win32/report_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace tarnwell::test {
namespace {

std::string read_back(const std::string& path) {
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

class ReportFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        path = std::string(folder) + "tarnwell_report_file_test.txt";
        DeleteFileA(path.c_str());
    }
    void TearDown() override { DeleteFileA(path.c_str()); }
    std::string path;
};

TEST_F(ReportFileTest, WritesTheBytesAsTheyAre) {
    for (const std::string& bytes :
         {std::string("head\r\rline\r\n\x85\xE9 end"), std::string(), std::string(3u << 20, 'r')}) {
        DeleteFileA(path.c_str());
        EXPECT_TRUE(write_report_file(path, bytes, ExistingFile::refuse).ok());
        EXPECT_EQ(read_back(path), bytes);
    }
}

TEST_F(ReportFileTest, AnExistingFileIsKeptUnlessReplacingWasAskedFor) {
    ASSERT_TRUE(write_report_file(path, "first", ExistingFile::refuse).ok());
    EXPECT_FALSE(write_report_file(path, "second", ExistingFile::refuse).ok());
    EXPECT_EQ(read_back(path), "first");
    EXPECT_TRUE(write_report_file(path, "third", ExistingFile::replace).ok());
    EXPECT_EQ(read_back(path), "third");
}

TEST_F(ReportFileTest, AFileThatCannotBeMadeGivesTheSystemsReason) {
    const std::string nowhere = path + ".missing\\report.txt";
    for (ExistingFile existing : {ExistingFile::refuse, ExistingFile::replace}) {
        const Status written = write_report_file(nowhere, "text", existing);
        EXPECT_FALSE(written.ok());
        EXPECT_FALSE(written.description().empty());
        EXPECT_EQ(read_back(nowhere), "<missing>");
    }
}

}  // namespace
}  // namespace tarnwell::test
