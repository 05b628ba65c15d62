// What the definitions reader allocates and keeps: a file over the size limit is
// refused before its buffer is allocated, and after a read the store keeps only the
// bytes its tables need. The test program counts its allocations to show the first.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "epsg/epsg_commands.h"
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

using test::ScratchFolder;
using test::TestPlatform;
namespace writer = epsg_writer;

class EpsgReaderMemoryTest : public ::testing::Test {
protected:
    // The real file behind a path of the platform's file layer.
    std::filesystem::path native_path(const std::string& path) {
#if defined(_WIN32)
        return std::filesystem::path(path);
#else
        return platform.twin()->files.host_path(path);
#endif
    }

    std::int32_t read(const std::string& path) {
        desktop.messages.clear();
        std::int32_t ierr = 7;
        read_persisted_EPSG_projection_database(files, desktop, store, path, ierr);
        return ierr;
    }

    TestPlatform platform;
    FileSystem& files = platform.platform().files;
    ScratchFolder folder{platform};
    HostDesktop desktop;
    EpsgStore store;
};

TEST_F(EpsgReaderMemoryTest, FileOverTheLimitIsRefusedFromItsSizeAlone) {
    const std::uint64_t sizes[] = {epsg_file_size_limit + 1, 1ull << 30, 5ull << 30};
    for (const std::uint64_t size : sizes) {
        SCOPED_TRACE(size);
        // A sparse file of that size: it takes no room on the disk.
        const std::string path = folder / ("large-" + std::to_string(size) + ".dat");
        files.create_file(path, "");
        std::filesystem::resize_file(native_path(path), size);

        largest_allocation = 0;
        ASSERT_EQ(read(path), -1);
        EXPECT_LT(largest_allocation.load(), std::size_t{1} << 20);
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0],
                  "An error occurred while reading the EPSG definitions at stage 0 : "
                  "File too large to read: " +
                      std::to_string(size) + " bytes, more than the limit of " +
                      std::to_string(epsg_file_size_limit) + " bytes");
    }
}

TEST_F(EpsgReaderMemoryTest, FileAtTheLimitIsReadWithOneBufferOfItsSize) {
    // A valid smallest file followed by zeros up to the limit: every count 0.
    const std::string path = folder / "at-limit.dat";
    files.create_file(path, writer::write_file({}).bytes);
    std::filesystem::resize_file(native_path(path), epsg_file_size_limit);
    largest_allocation = 0;
    ASSERT_EQ(read(path), 0) << desktop.messages.front();
    EXPECT_EQ(largest_allocation.load(), epsg_file_size_limit);
    // Its tables need a few hundred bytes of it; the rest is freed.
    EXPECT_LT(store.buffer_bytes_held(), 1000u);
}

// Bytes the store may keep after reading a file whose section records take `needed`
// bytes: those, and at most an eighth more.
bool keeps_only_what_is_needed(std::size_t held, std::size_t needed) {
    return held >= needed && held * 7 <= needed * 8;
}

TEST_F(EpsgReaderMemoryTest, StoreKeepsOnlyTheBytesItsTablesNeed) {
    writer::FilePlan plan;
    plan.counts = {3, 0, 2, 5, 1, 2, 4, 0, 3};
    plan.integer_count = 2;
    plan.texts = writer::synthetic_texts();
    const writer::FileImage image = writer::write_file(plan);
    // From section 1's first record to section 9's last.
    const std::size_t records = image.block_start[10] - 4;

    struct Case {
        const char* name;
        std::string bytes;
        std::int32_t ierr;
        std::size_t needed;
    };
    std::string bad_integer_count = image.bytes + std::string(4 << 20, '\0');
    writer::put_int32(bad_integer_count, image.block_start[10], 1 << 30);
    const Case cases[] = {
        {"no trailing bytes", image.bytes, 0, records},
        {"4 MiB after the list", image.bytes + std::string(4 << 20, '\x5a'), 0, records},
        {"failed at the integer table", bad_integer_count, -1, records},
        // Section 1 gets no record; the later tables keep the bytes of the read before.
        {"failed in section 1", image.bytes.substr(0, 50), -1, records},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder / (std::to_string(++n) + ".dat");
        files.create_file(path, c.bytes);
        ASSERT_EQ(read(path), c.ierr);
        EXPECT_TRUE(keeps_only_what_is_needed(store.buffer_bytes_held(), c.needed))
            << store.buffer_bytes_held() << " bytes held, " << c.needed << " needed";
        if (c.ierr == 0) {
            EXPECT_EQ(writer::write_store(store), image.bytes);
        }
    }
    // The records moved out of the large buffer still read as written.
    EXPECT_EQ(store.section(7).record(4).text(2), plan.texts(7, 4, 2));
}

}  // namespace
}  // namespace tarnwell
