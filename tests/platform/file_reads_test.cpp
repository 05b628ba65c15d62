// Whole-file reads of a file that changes while it is read.
#include <gtest/gtest.h>

#include "platform/file_bytes.h"
#include "support/file_test_support.h"

namespace tarnwell {
namespace {

// A file whose size said `said` bytes, that now has `left`: its reads give those, then
// nothing, however often they are asked again.
class ShrunkFile : public ReadableFile {
public:
    ShrunkFile(std::uint64_t said, std::size_t left) : said_(said), left_(left) {}
    Result<std::uint64_t> size() override { return said_; }
    Result<std::size_t> read(char* buffer, std::size_t n) override {
        const std::size_t given = std::min(n, left_);
        std::fill(buffer, buffer + given, 'x');
        left_ -= given;
        return given;
    }

private:
    std::uint64_t said_;
    std::size_t left_;
};

class ShrinkingFiles : public test::HookedFileSystem {
public:
    explicit ShrinkingFiles(FileSystem& inner)
        : HookedFileSystem(inner, [](const std::string&, const std::string&) { return Status(); }) {}
    Result<std::unique_ptr<ReadableFile>> open_for_reading(const std::string&) override {
        return std::unique_ptr<ReadableFile>(std::make_unique<ShrunkFile>(100, 40));
    }
};

TEST(FileReads, AFileThatShrankAfterItsSizeWasTakenGivesTheBytesItStillHad) {
    SystemPlatform system;
    ShrinkingFiles files(system.platform().files);
    const Result<FileBytes> bytes = read_whole_file(files, "C:\\shrinking.dat", 1000);
    ASSERT_TRUE(bytes.ok());
    EXPECT_EQ(std::string(bytes->data(), bytes->size()), std::string(40, 'x'));
}

}  // namespace
}  // namespace tarnwell
