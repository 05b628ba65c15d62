#include "epsg/epsg_reader.h"

#include <new>

#include "common/little_endian.h"

namespace tarnwell {

namespace {

// A read position in the file's bytes that never passes their end.
class Cursor {
public:
    explicit Cursor(const FileBytes& bytes)
        : begin_(bytes.data()), pos_(begin_), end_(begin_ + bytes.size()) {}

    const char* position() const { return pos_; }
    const char* end() const { return end_; }
    std::size_t left() const { return static_cast<std::size_t>(end_ - pos_); }
    void skip_to(const char* p) { pos_ = p; }

    // Success when n more bytes follow p (a position at or after the cursor).
    Status need(const char* p, std::size_t n, const std::string& what) const {
        if (n <= static_cast<std::size_t>(end_ - p)) return Status();
        return Status::failure("Input past end of file: " + what + " needs " + std::to_string(n) +
                               " bytes at byte " + std::to_string(p - begin_) + ", " +
                               std::to_string(end_ - p) + " left");
    }

    // Reads a count and checks that count + 1 entries of at least entry_size bytes
    // each fit in the bytes left, so that sizing a table from it can never ask for
    // more memory than the file's size warrants.
    Result<std::int32_t> read_count(std::size_t entry_size, const std::string& entry) {
        if (Status fits = need(pos_, 4, "the count"); !fits.ok()) return fits;
        const std::int32_t count = read_i32_le(pos_);
        pos_ += 4;
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

// A layout as the reader walks it: for each text, the fixed bytes before it, then the
// fixed bytes after the last text.
struct TextSteps {
    std::array<std::size_t, EpsgLayout::max_items> fixed_before{};
    std::size_t texts = 0;
    std::size_t fixed_after = 0;

    explicit TextSteps(const EpsgLayout& layout) {
        for (std::size_t i = 0; i < layout.item_count; ++i) {
            if (layout.is_text(i)) {
                fixed_before[texts++] = fixed_after;
                fixed_after = 0;
            } else {
                fixed_after += layout.items[i];
            }
        }
    }
};

// The loop over the records is the reader's hot path: on the file's many short records,
// it checks each step against a local end and makes a record's name and a Status only
// for the step that does not fit.
Status read_section(Cursor& in, const std::shared_ptr<const FileBytes>& bytes,
                    EpsgSection& section) {
    const EpsgLayout& layout = section.layout();
    const Result<std::int32_t> count = in.read_count(layout.smallest_record(), "record");
    if (!count.ok()) return count.status();
    section.replace(*count, bytes);

    const TextSteps steps(layout);
    const std::size_t records = static_cast<std::size_t>(*count) + 1;
    const char* const end = in.end();
    const char* p = in.position();
    for (std::size_t index = 0; index < records; ++index) {
        const auto past_end = [&](std::size_t n) {
            return in.need(p, n, "record " + std::to_string(index));
        };
        const char* record = p;
        for (std::size_t t = 0; t < steps.texts; ++t) {
            const std::size_t before = steps.fixed_before[t] + 2;
            if (before > static_cast<std::size_t>(end - p)) return past_end(before);
            p += before;
            const std::uint16_t length = read_u16_le(p - 2);
            if (length > static_cast<std::size_t>(end - p)) return past_end(length);
            p += length;
        }
        if (steps.fixed_after > static_cast<std::size_t>(end - p))
            return past_end(steps.fixed_after);
        p += steps.fixed_after;
        section.fill_next(record);
    }
    in.skip_to(p);
    return Status();
}

// `count` + 1 entries of four 32-bit numbers each (the count already checked to fit).
template <std::size_t columns>
std::vector<std::array<std::int32_t, columns>> read_rows(Cursor& in, std::int32_t count) {
    std::vector<std::array<std::int32_t, columns>> rows(static_cast<std::size_t>(count) + 1);
    const char* p = in.position();
    for (auto& row : rows) {
        for (std::int32_t& value : row) {
            value = read_i32_le(p);
            p += 4;
        }
    }
    in.skip_to(p);
    return rows;
}

Status read_integer_table(Cursor& in, EpsgIntegerTable& table) {
    const Result<std::int32_t> count = in.read_count(16, "row");
    if (!count.ok()) return count.status();
    table.rows = read_rows<4>(in, *count);
    table.count = *count;
    return Status();
}

Status read_section9_list(Cursor& in, std::int32_t section9_count,
                          std::vector<std::int32_t>& list) {
    const std::size_t entries = static_cast<std::size_t>(section9_count) + 1;
    if (Status fits = in.need(in.position(), 4 * entries, "the section-9 list"); !fits.ok())
        return fits;
    list.clear();
    for (const auto& row : read_rows<1>(in, section9_count))
        list.push_back(row[0]);
    return Status();
}

}  // namespace

DefinitionsRead read_epsg_definitions(const std::shared_ptr<const FileBytes>& bytes,
                                      EpsgStore& store) {
    DefinitionsRead read;
    // Record offsets within a buffer are 32-bit.
    if (bytes->size() > epsg_file_size_limit) {
        read.status = file_too_large(bytes->size(), epsg_file_size_limit);
        return read;
    }
    Cursor in(*bytes);
    // A table too large for the memory fails its own stage.
    const auto stage = [&](std::int32_t number, const auto& step) {
        read.stage = number;
        try {
            read.status = step();
        } catch (const std::bad_alloc&) {
            read.status = Status(8, "Out of memory");
        }
        return read.status.ok();
    };
    for (int k = 1; k <= epsg_section_count; ++k) {
        if (!stage(k, [&] { return read_section(in, bytes, store.section(k)); })) return read;
    }
    if (!stage(10, [&] { return read_integer_table(in, store.integer_table); })) return read;
    stage(11,
          [&] { return read_section9_list(in, store.section(9).count(), store.section9_list); });
    return read;
}

DefinitionsRead read_definitions_file(FileSystem& files, const std::string& path,
                                      EpsgStore& store) {
    Result<FileBytes> bytes = read_whole_file(files, path, epsg_file_size_limit);
    if (!bytes.ok()) return {0, bytes.status()};
    return read_epsg_definitions(std::make_shared<const FileBytes>(std::move(bytes).value()),
                                 store);
}

}  // namespace tarnwell
