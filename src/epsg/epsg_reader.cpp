#include "epsg/epsg_reader.h"

#include <array>

#include "common/little_endian.h"
#include "platform/file_bytes.h"

namespace tarnwell {

namespace {

// A section's record as the reader steps through it: the fixed bytes before each of
// its counted texts (a 16-bit little-endian length, then that many bytes), then the
// fixed bytes after the last text. Fixed runs next to each other are stepped over as one.
struct RecordSteps {
    std::size_t texts;
    std::array<std::size_t, 6> fixed_before;
    std::size_t fixed_after;

    // The least a record takes: every text empty.
    constexpr std::size_t smallest() const {
        std::size_t bytes = fixed_after + 2 * texts;
        for (std::size_t t = 0; t < texts; ++t)
            bytes += fixed_before[t];
        return bytes;
    }
};

// The records of sections 1 to 9, with their items in file order (F<n>: a fixed run of
// n bytes, T: a counted text).
constexpr std::array<RecordSteps, 9> section_records = {{
    {3, {8, 0, 0}, 24},              // F8 T T T F24
    {2, {4, 0}, 24},                 // F4 T T F24
    {1, {4}, 32},                    // F4 T F32
    {1, {4}, 8},                     // F4 T F8
    {2, {4, 0}, 24},                 // F4 T T F24, as section 2
    {5, {4, 0, 4, 6, 4}, 90},        // F4 T T F4 T F2 F4 T F4 T F10 F80
    {3, {4, 0, 32}, 4},              // F4 T T F32 T F4
    {1, {4}, 12},                    // F4 T F12
    {6, {4, 0, 4, 0, 0, 20}, 110},   // F4 T T F4 T T T F20 T F14 F96
}};

// A read position in the bytes that never passes their end.
class Cursor {
public:
    explicit Cursor(std::string_view bytes)
        : begin_(bytes.data()), pos_(begin_), end_(begin_ + bytes.size()) {}

    std::size_t left() const { return static_cast<std::size_t>(end_ - pos_); }
    bool has(std::size_t n) const { return n <= left(); }

    // Steps over n bytes, which must be there, and returns where they begin.
    const char* skip(std::size_t n) {
        const char* at = pos_;
        pos_ += n;
        return at;
    }

    // The failure of a step of n bytes that the bytes left cannot hold.
    Status past_end(std::size_t n, const std::string& what) const {
        return Status::failure("Input past end of file: " + what + " needs " + std::to_string(n) +
                               " bytes at byte " + std::to_string(pos_ - begin_) + ", " +
                               std::to_string(left()) + " left");
    }

    // Steps over n bytes, or fails naming what needed them.
    Status step(std::size_t n, const std::string& what) {
        if (!has(n)) return past_end(n, what);
        skip(n);
        return Status();
    }

    // Reads a count and checks that count + 1 entries of at least entry_size bytes each
    // fit in the bytes left.
    Result<std::int32_t> count(std::size_t entry_size, const std::string& entry) {
        if (Status fits = step(4, "the count"); !fits.ok()) return fits;
        const std::int32_t count = read_i32_le(pos_ - 4);
        if (count < 0)
            return Status::failure("Invalid count " + std::to_string(count) +
                                   ": a count cannot be below 0");
        const std::uint64_t entries = static_cast<std::uint64_t>(count) + 1;
        const std::uint64_t least = entries * entry_size;
        if (least > left())
            return Status::failure("Input past end of file: the count " + std::to_string(count) +
                                   " announces " + std::to_string(entries) + " " + entry +
                                   (entries == 1 ? "" : "s") + " needing at least " +
                                   std::to_string(least) + " bytes, " + std::to_string(left()) +
                                   " left");
        return count;
    }

private:
    const char* begin_;
    const char* pos_;
    const char* end_;
};

// Steps over one record; a step that does not fit names the record.
Status read_record(Cursor& in, const RecordSteps& record, std::size_t index) {
    const auto past_end = [&](std::size_t n) {
        return in.past_end(n, "record " + std::to_string(index));
    };
    for (std::size_t t = 0; t < record.texts; ++t) {
        const std::size_t before = record.fixed_before[t] + 2;
        if (!in.has(before)) return past_end(before);
        const std::size_t length = read_u16_le(in.skip(before) + before - 2);
        if (!in.has(length)) return past_end(length);
        in.skip(length);
    }
    if (!in.has(record.fixed_after)) return past_end(record.fixed_after);
    in.skip(record.fixed_after);
    return Status();
}

// A section: its count, then count + 1 records. Gives the count.
Result<std::int32_t> read_section(Cursor& in, const RecordSteps& record) {
    const Result<std::int32_t> count = in.count(record.smallest(), "record");
    if (!count.ok()) return count;
    const std::size_t records = static_cast<std::size_t>(*count) + 1;
    for (std::size_t index = 0; index < records; ++index) {
        if (Status read = read_record(in, record, index); !read.ok()) return read;
    }
    return count;
}

// The integer table: its count c, then c + 1 rows of four 32-bit integers.
Status read_integer_table(Cursor& in) {
    const Result<std::int32_t> count = in.count(16, "row");
    if (!count.ok()) return count.status();
    in.skip(16 * (static_cast<std::size_t>(*count) + 1));
    return Status();
}

Status stage_failure(int stage, const Status& why) {
    return Status(why.code(), "An error occurred while reading the EPSG definitions at stage " +
                                  std::to_string(stage) + " : " + why.description());
}

}  // namespace

Status read_epsg_definitions(std::string_view bytes) {
    Cursor in(bytes);
    std::int32_t section9_count = 0;
    for (std::size_t k = 0; k < section_records.size(); ++k) {
        const Result<std::int32_t> count = read_section(in, section_records[k]);
        if (!count.ok()) return stage_failure(static_cast<int>(k) + 1, count.status());
        section9_count = *count;
    }
    if (Status table = read_integer_table(in); !table.ok()) return stage_failure(10, table);
    // The section-9 list has no count of its own: one 32-bit integer per record of
    // section 9.
    const std::size_t list_bytes = 4 * (static_cast<std::size_t>(section9_count) + 1);
    if (Status list = in.step(list_bytes, "the section-9 list"); !list.ok())
        return stage_failure(11, list);
    return Status();
}

Status read_definitions_file(FileSystem& files, const std::string& path) {
    const Result<FileBytes> bytes = read_whole_file(files, path, epsg_file_size_limit);
    if (!bytes.ok()) return stage_failure(0, bytes.status());
    return read_epsg_definitions(std::string_view(bytes->data(), bytes->size()));
}

}  // namespace tarnwell
