// The definitions reader against files made by the writer: what reads through, and
// clean failures at the right stage with the words the Test command shows.
#include <gtest/gtest.h>

#include <climits>

#include "epsg/epsg_reader.h"
#include "epsg_writer/epsg_writer.h"
#include "support/file_test_support.h"

namespace tarnwell {
namespace {

using test::must;
using test::ScratchFolder;
namespace writer = epsg_writer;

std::string stage_message(int stage) {
    return "An error occurred while reading the EPSG definitions at stage " +
           std::to_string(stage) + " : ";
}

// The read of these bytes failed at this stage, and said why.
void expect_failure_at(const Status& read, int stage, const std::string& context) {
    ASSERT_FALSE(read.ok()) << context;
    const std::string prefix = stage_message(stage);
    EXPECT_EQ(read.description().rfind(prefix, 0), 0u) << context << "\n" << read.description();
    EXPECT_GT(read.description().size(), prefix.size()) << "no reason: " << context;
}

Status read(const std::string& bytes) { return read_epsg_definitions(bytes); }

// The writer is the tests' reference: its layouts give the sizes the file format states.
TEST(EpsgWriterTest, LayoutsAndBlocksHaveTheFormatsSizes) {
    const std::size_t smallest[] = {38, 32, 38, 14, 32, 118, 46, 18, 150};
    for (int k = 1; k <= 9; ++k)
        EXPECT_EQ(writer::smallest_record(k), smallest[k - 1]) << "section " << k;
    EXPECT_EQ(writer::write_file({}).bytes.size(), 546u);

    writer::FilePlan plan;
    plan.counts[8] = 4;
    plan.integer_count = 2;
    const writer::FileImage image = writer::write_file(plan);
    EXPECT_EQ(image.block_start[11] - image.block_start[10], 4u + 48u);
    EXPECT_EQ(image.block_start[12] - image.block_start[11], 20u);
    EXPECT_EQ(image.bytes.size(), 546u + 2 * 16 + 4 * 150 + 4 * 4);
}

TEST(EpsgReaderTest, WholeFilesReadThrough) {
    writer::FilePlan texts;
    texts.counts = {3, 0, 2, 5, 1, 2, 4, 0, 3};
    texts.integer_count = 6;
    texts.texts = writer::synthetic_texts();
    writer::FilePlan lists;
    lists.counts[8] = 4;
    lists.integer_count = 2;
    writer::FilePlan top_bit;  // a text length above 32767 is unsigned
    top_bit.texts = [](int section, std::size_t, std::size_t text) {
        return section == 6 && text == 2 ? std::string(40000, 'L') : std::string();
    };
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"smallest", writer::write_file({}).bytes},
        {"texts in every record", writer::write_file(texts).bytes},
        {"integer table and list from their counts", writer::write_file(lists).bytes},
        {"text of 40000 bytes", writer::write_file(top_bit).bytes},
        {"bytes after the list", writer::write_file({}).bytes + std::string(1000, '\xff')},
    };
    for (const auto& c : cases) {
        const Status read_through = read(c.bytes);
        EXPECT_TRUE(read_through.ok()) << c.name << ": " << read_through.description();
    }
}

TEST(EpsgReaderTest, EveryTruncationFailsAtTheStageItCuts) {
    writer::FilePlan plan;
    plan.counts = {1, 0, 1, 2, 0, 1, 0, 1, 1};
    plan.integer_count = 1;
    plan.texts = [](int section, std::size_t record, std::size_t text) {
        return (record + text) % 2 == 0 ? "s" + std::to_string(section) + "r" +
                                              std::to_string(record) + "t" + std::to_string(text)
                                        : std::string();
    };
    const writer::FileImage image = writer::write_file(plan);
    for (std::size_t length = 0; length < image.bytes.size(); ++length) {
        expect_failure_at(read(image.bytes.substr(0, length)), image.stage_for_length(length),
                          "length " + std::to_string(length));
    }
}

TEST(EpsgReaderTest, BadCountFailsAtItsOwnStage) {
    const struct {
        std::int32_t count;
        const char* reason_start;
    } cases[] = {
        {-1, "Invalid count -1: a count cannot be below 0"},
        {INT_MIN, "Invalid count -2147483648: a count cannot be below 0"},
        {INT_MAX, "Input past end of file: the count 2147483647 announces"},
        {1000, "Input past end of file: the count 1000 announces"},
    };
    const writer::FileImage image = writer::write_file({});
    for (const auto& c : cases) {
        for (int stage = 1; stage <= 10; ++stage) {
            std::string bytes = image.bytes;
            writer::put_int32(bytes, image.block_start[static_cast<std::size_t>(stage)], c.count);
            const std::string context =
                "count " + std::to_string(c.count) + " at stage " + std::to_string(stage);
            const Status failed = read(bytes);
            expect_failure_at(failed, stage, context);
            EXPECT_EQ(failed.description().rfind(stage_message(stage) + c.reason_start, 0), 0u)
                << context << "\n" << failed.description();
        }
    }
}

// A count is checked against the smallest records its section could hold: one record
// more than the bytes left can hold fails on the count, before any record is read.
TEST(EpsgReaderTest, CountOneRecordTooManyFailsOnTheCount) {
    for (int k = 1; k <= 9; ++k) {
        writer::FilePlan plan;
        plan.counts[static_cast<std::size_t>(k - 1)] = 199;
        const writer::FileImage image = writer::write_file(plan);
        const auto start = image.block_start[static_cast<std::size_t>(k)];
        std::string bytes = image.bytes.substr(0, image.block_start[static_cast<std::size_t>(k) + 1]);
        expect_failure_at(read(bytes), k + 1, "200 records of section " + std::to_string(k));

        writer::put_int32(bytes, start, 200);
        const std::size_t record = writer::smallest_record(k);
        EXPECT_EQ(read(bytes).description(),
                  stage_message(k) + "Input past end of file: the count 200 announces 201 records "
                                     "needing at least " +
                      std::to_string(201 * record) + " bytes, " + std::to_string(200 * record) +
                      " left");
    }
}

// The reasons word for word: where the read stopped, what it needed and what was left.
TEST(EpsgReaderTest, FailuresSayWhatRanPastTheEnd) {
    // Section 1 holds two records; the first text of the first is 100 bytes long, so
    // that record 0 takes bytes 4 to 142 and record 1 bytes 142 to 180.
    writer::FilePlan plan;
    plan.counts[0] = 1;
    plan.texts = [](int section, std::size_t record, std::size_t text) {
        return section == 1 && record == 0 && text == 0 ? std::string(100, 'x') : std::string();
    };
    const writer::FileImage image = writer::write_file(plan);
    const std::string smallest = writer::write_file({}).bytes;
    std::string thousand = smallest;
    writer::put_int32(thousand, 0, 1000);
    const std::size_t table = image.block_start[10], list = image.block_start[11];
    const struct {
        int stage;
        std::string bytes;
        std::string reason;
    } cases[] = {
        {1, "", "the count needs 4 bytes at byte 0, 0 left"},
        {1, thousand, "the count 1000 announces 1001 records needing at least 38038 bytes, 542 left"},
        {1, image.bytes.substr(0, 80), "record 0 needs 100 bytes at byte 14, 66 left"},
        {1, image.bytes.substr(0, 147), "record 1 needs 10 bytes at byte 142, 5 left"},
        {1, image.bytes.substr(0, 170), "record 1 needs 24 bytes at byte 156, 14 left"},
        {10, image.bytes.substr(0, table),
         "the count needs 4 bytes at byte " + std::to_string(table) + ", 0 left"},
        {10, image.bytes.substr(0, table + 19),
         "the count 0 announces 1 row needing at least 16 bytes, 15 left"},
        {11, image.bytes.substr(0, list + 3),
         "the section-9 list needs 4 bytes at byte " + std::to_string(list) + ", 3 left"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read(c.bytes).description(),
                  stage_message(c.stage) + "Input past end of file: " + c.reason);
    }
}

TEST(EpsgReaderTest, TheFileIsReadWholeAndAMissingOneFailsAtStage0WithoutBeingCreated) {
    SystemPlatform platform;
    FileSystem& files = platform.platform().files;
    ScratchFolder folder{platform};
    const std::string valid = folder / "valid.dat";
    must(write_file(files, valid, writer::write_file({}).bytes));
    const Status read_through = read_definitions_file(files, valid);
    EXPECT_TRUE(read_through.ok()) << read_through.description();

    for (const std::string& path : {folder / "none.dat", folder / "no folder\\none.dat"}) {
        expect_failure_at(read_definitions_file(files, path), 0, path);
        EXPECT_FALSE(must(files.file_exists(path))) << path;
    }
}

}  // namespace
}  // namespace tarnwell
