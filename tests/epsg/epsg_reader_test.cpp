// The definitions reader against files made by the writer and by hand: sizes of the
// layouts and blocks, what is stored, and clean failures at the right stage.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>

#include "epsg/epsg_reader.h"
#include "epsg_writer/epsg_writer.h"
#include "support/file_test_support.h"

namespace tarnwell {
namespace {

using test::file_text;
using test::must;

using test::ScratchFolder;
namespace writer = epsg_writer;

class EpsgReaderTest : public ::testing::Test {
protected:
    // Writes the bytes to a new file and reads it into the store; 0 when it read
    // through, -1 when it failed.
    std::int32_t read(const std::string& bytes, const std::string& name = "defs.dat") {
        const std::string path = folder / (std::to_string(++files_written) + "-" + name);
        must(write_file(files, path, bytes));
        last = read_definitions_file(files, path, store);
        return last.status.ok() ? 0 : -1;
    }

    // The last read failed at this stage, and said why.
    void expect_failure_at(int stage, const std::string& context) {
        EXPECT_FALSE(last.status.ok()) << context;
        EXPECT_EQ(last.stage, stage) << context << "\nwhy: " << last.status.description();
        EXPECT_FALSE(last.status.description().empty()) << "no description: " << context;
    }

    SystemPlatform platform;
    FileSystem& files = platform.platform().files;
    ScratchFolder folder{platform};
    int files_written = 0;
    EpsgStore store;
    DefinitionsRead last;
};

// Texts that tell their place: "s<section>r<record>t<text>".
std::string place_text(int section, std::size_t record, std::size_t text) {
    return "s" + std::to_string(section) + "r" + std::to_string(record) + "t" +
           std::to_string(text);
}

TEST_F(EpsgReaderTest, SmallestFileReadsThroughWithOneRecordInEveryTable) {
    const writer::FileImage image = writer::write_file({});
    ASSERT_EQ(image.bytes.size(), 546u);

    EXPECT_EQ(read(image.bytes), 0);
    EXPECT_TRUE(last.status.ok()) << last.status.description();
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(store.section(k).count(), 0) << "section " << k;
        ASSERT_EQ(store.section(k).size(), 1u) << "section " << k;
        EXPECT_TRUE(store.section(k).record(0).filled());
    }
    EXPECT_EQ(store.integer_table.count, 0);
    EXPECT_EQ(store.integer_table.rows.size(), 1u);
    EXPECT_EQ(store.section9_list.size(), 1u);
}

// The layouts as the file format gives them, spelled out apart from the code: F<n> is
// a fixed run of n bytes, T a counted text.
struct LayoutCase {
    int section;
    const char* items;
    std::size_t smallest_record;
};

const LayoutCase layout_cases[] = {
    {1, "F8 T T T F24", 38},
    {2, "F4 T T F24", 32},
    {3, "F4 T F32", 38},
    {4, "F4 T F8", 14},
    {5, "F4 T T F24", 32},  // the same layout as section 2
    {6, "F4 T T F4 T F2 F4 T F4 T F10 F80", 118},
    {7, "F4 T T F32 T F4", 46},
    {8, "F4 T F12", 18},
    {9, "F4 T T F4 T T T F20 T F14 F96", 150},
};

// One record built by hand from its layout; fixed run j of the record is filled with
// the byte 'a' + j so that runs cannot be confused.
std::string hand_made_record(const LayoutCase& c, std::size_t record) {
    std::istringstream items(c.items);
    std::string item, out;
    std::size_t text = 0, run = 0;
    while (items >> item) {
        if (item == "T") {
            const std::string t = place_text(c.section, record, text++);
            out += static_cast<char>(t.size());
            out += '\0';
            out += t;
        } else {
            out.append(std::stoul(item.substr(1)), static_cast<char>('a' + run++));
        }
    }
    return out;
}

std::string le32(std::int32_t value) {
    std::string out(4, '\0');
    writer::put_int32(out, 0, value);
    return out;
}

TEST_F(EpsgReaderTest, EachLayoutReadsItsItemsInOrder) {
    // Two records per section, integer table of one row, section-9 list of two.
    std::string bytes;
    for (const LayoutCase& c : layout_cases) {
        bytes += le32(1) + hand_made_record(c, 0) + hand_made_record(c, 1);
    }
    bytes += le32(0) + le32(1) + le32(2) + le32(3) + le32(4) + le32(-5) + le32(6);

    ASSERT_EQ(read(bytes), 0) << last.status.description();
    for (const LayoutCase& c : layout_cases) {
        EXPECT_EQ(epsg_section_layout(c.section).smallest_record(), c.smallest_record);
        const EpsgSection& section = store.section(c.section);
        ASSERT_EQ(section.size(), 2u);
        for (std::size_t r = 0; r < 2; ++r) {
            const EpsgRecord record = section.record(r);
            std::istringstream items(c.items);
            std::string item;
            std::size_t text = 0, run = 0;
            while (items >> item) {
                if (item == "T") {
                    EXPECT_EQ(record.text(text), place_text(c.section, r, text));
                    ++text;
                } else {
                    EXPECT_EQ(record.fixed_run(run),
                              std::string(std::stoul(item.substr(1)), static_cast<char>('a' + run)))
                        << "section " << c.section << " run " << run;
                    ++run;
                }
            }
            EXPECT_EQ(record.size_on_disk(), hand_made_record(c, r).size());
        }
    }
    EXPECT_EQ(store.integer_table.rows.at(0), (std::array<std::int32_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(store.section9_list, (std::vector<std::int32_t>{-5, 6}));
}

TEST_F(EpsgReaderTest, WrittenFileReadsBackToTheSameBytes) {
    writer::FilePlan plan;
    plan.counts = {3, 0, 2, 5, 1, 2, 4, 0, 3};
    plan.integer_count = 6;
    plan.texts = writer::synthetic_texts();
    const writer::FileImage image = writer::write_file(plan);

    ASSERT_EQ(read(image.bytes), 0);
    EXPECT_EQ(writer::write_store(store), image.bytes);
    EXPECT_EQ(store.section(7).record(4).fixed_run(0)[2],
              static_cast<char>(writer::fixed_byte(7, 4, 2)));
    EXPECT_EQ(store.integer_table.rows.at(6).at(3), writer::integer_value(6, 3));
    EXPECT_EQ(store.section9_list.at(3), writer::section9_list_value(3));
}

TEST_F(EpsgReaderTest, IntegerTableAndSection9ListTakeTheirLengthsFromTheirCounts) {
    writer::FilePlan plan;
    plan.counts[8] = 4;
    plan.integer_count = 2;
    const writer::FileImage image = writer::write_file(plan);
    EXPECT_EQ(image.block_start[11] - image.block_start[10], 4u + 48u);
    EXPECT_EQ(image.block_start[12] - image.block_start[11], 20u);
    EXPECT_EQ(image.bytes.size(), 546u + 2 * 16 + 4 * 150 + 4 * 4);

    ASSERT_EQ(read(image.bytes), 0);
    EXPECT_EQ(store.integer_table.count, 2);
    ASSERT_EQ(store.integer_table.rows.size(), 3u);
    EXPECT_EQ(store.integer_table.rows[2][1], writer::integer_value(2, 1));
    ASSERT_EQ(store.section9_list.size(), 5u);
    EXPECT_EQ(store.section9_list[0], writer::section9_list_value(0));
    EXPECT_EQ(store.section9_list[4], writer::section9_list_value(4));

    // One byte short of the list fails while reading the list.
    EXPECT_EQ(read(image.bytes.substr(0, image.bytes.size() - 1)), -1);
    expect_failure_at(11, "list one byte short");
}

TEST_F(EpsgReaderTest, BytesAfterTheSection9ListAreIgnored) {
    const writer::FileImage image = writer::write_file({});
    EXPECT_EQ(read(image.bytes + std::string(1000, '\xff')), 0);
    EXPECT_TRUE(last.status.ok()) << last.status.description();
    EXPECT_EQ(writer::write_store(store), image.bytes);
}

TEST_F(EpsgReaderTest, TextLengthWithTheTopBitSetIsUnsigned) {
    writer::FilePlan plan;
    plan.texts = [](int section, std::size_t, std::size_t text) {
        return section == 6 && text == 2 ? std::string(40000, 'L') : std::string();
    };
    const writer::FileImage image = writer::write_file(plan);
    ASSERT_EQ(read(image.bytes), 0);
    EXPECT_EQ(store.section(6).record(0).text(2).size(), 40000u);

    // The same length with too few bytes after it fails like any short read.
    const std::size_t cut = image.block_start[7] - 100;
    EXPECT_EQ(read(image.bytes.substr(0, cut)), -1);
    expect_failure_at(6, "long text cut short");
}

TEST_F(EpsgReaderTest, EveryTruncationFailsAtTheStageItCuts) {
    writer::FilePlan plan;
    plan.counts = {1, 0, 1, 2, 0, 1, 0, 1, 1};
    plan.integer_count = 1;
    plan.texts = [](int section, std::size_t record, std::size_t text) {
        return (record + text) % 2 == 0 ? place_text(section, record, text) : std::string();
    };
    const writer::FileImage image = writer::write_file(plan);
    for (std::size_t length = 0; length < image.bytes.size(); ++length) {
        const std::string context = "length " + std::to_string(length);
        ASSERT_EQ(read(image.bytes.substr(0, length)), -1) << context;
        expect_failure_at(image.stage_for_length(length), context);
    }
}

TEST_F(EpsgReaderTest, BadCountFailsAtItsOwnStage) {
    struct BadCount {
        std::int32_t count;
        const char* description_start;
    };
    const BadCount cases[] = {
        {-1, "Invalid count -1:"},
        {INT_MIN, "Invalid count -2147483648:"},
        {INT_MAX, "Input past end of file: the count 2147483647 announces"},
        {1000, "Input past end of file: the count 1000 announces"},
    };
    const writer::FileImage image = writer::write_file({});
    for (const BadCount& c : cases) {
        for (int stage = 1; stage <= 10; ++stage) {
            std::string bytes = image.bytes;
            writer::put_int32(bytes, image.block_start[static_cast<std::size_t>(stage)], c.count);
            const std::string context =
                "count " + std::to_string(c.count) + " at stage " + std::to_string(stage);
            ASSERT_EQ(read(bytes), -1) << context;
            expect_failure_at(stage, context);
            EXPECT_EQ(last.status.description().rfind(c.description_start, 0), 0u)
                << last.status.description();
        }
    }
}

TEST_F(EpsgReaderTest, FailedReadLeavesEarlierTablesNewAndLaterTablesOld) {
    writer::FilePlan old_spec;
    old_spec.counts = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    old_spec.integer_count = 1;
    old_spec.texts = [](int, std::size_t, std::size_t) { return std::string("old"); };
    ASSERT_EQ(read(writer::write_file(old_spec).bytes, "old.dat"), 0);

    // The new file stops inside the third record of section 5 (records of 38 bytes),
    // with bytes enough left for three of the smallest records (32 bytes).
    writer::FilePlan new_spec;
    new_spec.counts = {2, 2, 2, 2, 2, 2, 2, 2, 2};
    new_spec.texts = [](int, std::size_t, std::size_t) { return std::string("new"); };
    const writer::FileImage image = writer::write_file(new_spec);
    const std::size_t cut = image.block_start[5] + 4 + 100;
    ASSERT_EQ(read(image.bytes.substr(0, cut), "new.dat"), -1);
    expect_failure_at(5, "cut in section 5");

    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(store.section(k).count(), 2) << k;
        EXPECT_EQ(store.section(k).record(2).text(0), "new") << k;
    }
    const EpsgSection& failing = store.section(5);
    EXPECT_EQ(failing.count(), 2);
    ASSERT_EQ(failing.size(), 3u);
    EXPECT_EQ(failing.record(1).text(1), "new");
    EXPECT_FALSE(failing.record(2).filled());
    EXPECT_EQ(failing.record(2).text(0), "");
    EXPECT_EQ(failing.record(2).fixed_run(1), std::string(24, '\0'));
    for (int k = 6; k <= 9; ++k) {
        EXPECT_EQ(store.section(k).count(), 1) << k;
        EXPECT_EQ(store.section(k).record(1).text(0), "old") << k;
    }
    EXPECT_EQ(store.integer_table.count, 1);
    EXPECT_EQ(store.section9_list.size(), 2u);

    // A second read starts again from section 1 and replaces every table it reaches.
    new_spec.integer_count = 3;
    const writer::FileImage whole = writer::write_file(new_spec);
    ASSERT_EQ(read(whole.bytes, "new.dat"), 0);
    EXPECT_EQ(writer::write_store(store), whole.bytes);
}

TEST_F(EpsgReaderTest, CountTooLargeForTheFileKeepsTheTableAsItWas) {
    const writer::FileImage image = writer::write_file({});
    ASSERT_EQ(read(image.bytes), 0);
    std::string bytes = image.bytes;
    writer::put_int32(bytes, image.block_start[3], 1000);
    ASSERT_EQ(read(bytes), -1);
    expect_failure_at(3, "count 1000");
    EXPECT_EQ(store.section(3).count(), 0);
    EXPECT_TRUE(store.section(3).record(0).filled());
}

TEST_F(EpsgReaderTest, MissingFileFailsAtStage0AndIsNotCreated) {
    for (const std::string& path : {folder / "none.dat", folder / "no folder\\none.dat"}) {
        last = read_definitions_file(files, path, store);
        expect_failure_at(0, path);
        EXPECT_FALSE(must(files.file_exists(path))) << path;
    }
}

}  // namespace
}  // namespace tarnwell
