// What the definitions reader allocates: a file over the size limit is refused before
// its buffer is allocated, and a file at the limit is read into one buffer of its size.
// The test program counts its allocations to show it.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "epsg/epsg_reader.h"
#include "epsg_writer/epsg_writer.h"
#include "support/file_test_support.h"

namespace {

// The largest single allocation since the last reset, across the whole test program.
std::atomic<std::size_t> largest_allocation{0};

void* counted_allocation(std::size_t size) {
    std::size_t seen = largest_allocation.load();
    while (size > seen && !largest_allocation.compare_exchange_weak(seen, size)) {
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
}  // namespace

// Arrays too: a sanitizer's runtime would otherwise take them past the count.
void* operator new(std::size_t size) { return counted_allocation(size); }
void* operator new[](std::size_t size) { return counted_allocation(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace tarnwell {
namespace {

using test::must;
using test::ScratchFolder;
namespace writer = epsg_writer;

class EpsgReaderMemoryTest : public ::testing::Test {
protected:
    // The real file behind a path of the platform's file layer.
    std::filesystem::path native_path(const std::string& path) {
#if defined(_WIN32)
        return std::filesystem::path(path);
#else
        return twin_of(platform)->files.host_path(path);
#endif
    }

    Status read(const std::string& path) { return read_definitions_file(files, path); }

    SystemPlatform platform;
    FileSystem& files = platform.platform().files;
    ScratchFolder folder{platform};
};

TEST_F(EpsgReaderMemoryTest, FileOverTheLimitIsRefusedFromItsSizeAlone) {
    const std::uint64_t sizes[] = {epsg_file_size_limit + 1, 1ull << 30, 5ull << 30};
    for (const std::uint64_t size : sizes) {
        SCOPED_TRACE(size);
        // A sparse file of that size: it takes no room on the disk.
        const std::string path = folder / ("large-" + std::to_string(size) + ".dat");
        must(write_file(files, path, ""));
        std::filesystem::resize_file(native_path(path), size);

        largest_allocation = 0;
        const Status refused = read(path);
        EXPECT_LT(largest_allocation.load(), std::size_t{1} << 20);
        EXPECT_EQ(refused.description(),
                  "An error occurred while reading the EPSG definitions at stage 0 : File too "
                  "large to read: " +
                      std::to_string(size) + " bytes, more than the limit of " +
                      std::to_string(epsg_file_size_limit) + " bytes");
    }
}

TEST_F(EpsgReaderMemoryTest, FileAtTheLimitIsReadWithOneBufferOfItsSize) {
    // A valid smallest file followed by zeros up to the limit: every count 0.
    const std::string path = folder / "at-limit.dat";
    must(write_file(files, path, writer::write_file({}).bytes));
    std::filesystem::resize_file(native_path(path), epsg_file_size_limit);
    largest_allocation = 0;
    const Status read_through = read(path);
    ASSERT_TRUE(read_through.ok()) << read_through.description();
    EXPECT_EQ(largest_allocation.load(), epsg_file_size_limit);
}

}  // namespace
}  // namespace tarnwell
