// Whole-file reads of a file that changes while it is read.
#include <gtest/gtest.h>

#include "platform/bytes_in_memory.h"
#include "platform/file_bytes.h"
#include "support/file_test_support.h"

namespace tarnwell {
namespace {

// A file whose size said 100 bytes, that now has 40: its reads give those, then nothing,
// however often they are asked again.
const std::string still_there(40, 'x');
class ShrunkFile : public BytesInMemory {
public:
    ShrunkFile() : BytesInMemory(still_there) {}
    Result<std::uint64_t> size() override { return std::uint64_t{100}; }
};

class ShrinkingFiles : public test::HookedFileSystem {
public:
    explicit ShrinkingFiles(FileSystem& inner)
        : HookedFileSystem(inner, [](const std::string&, const std::string&) { return Status(); }) {}
    Result<std::unique_ptr<ReadableFile>> open_for_reading(const std::string&) override {
        return std::unique_ptr<ReadableFile>(std::make_unique<ShrunkFile>());
    }
};

TEST(FileReads, AFileThatShrankAfterItsSizeWasTakenGivesTheBytesItStillHad) {
    SystemPlatform system;
    ShrinkingFiles files(system.platform().files);
    const Result<FileBytes> bytes = read_whole_file(files, "C:\\shrinking.dat", 1000);
    ASSERT_TRUE(bytes.ok());
    EXPECT_EQ(std::string(bytes->data(), bytes->size()), still_there);
}

}  // namespace
}  // namespace tarnwell
