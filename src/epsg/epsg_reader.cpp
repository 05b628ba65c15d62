#include "epsg/epsg_reader.h"

#include <cstring>
#include <new>

#include "common/little_endian.h"
#include "epsg/epsg_commands.h"
#include "platform/run_time_error.h"

namespace tarnwell {

namespace {

// A read position in the file's bytes that never passes their end.
class Cursor {
public:
    explicit Cursor(const FileBytes& bytes)
        : begin_(bytes.data()), pos_(begin_), end_(begin_ + bytes.size()) {}

    const char* position() const { return pos_; }
    std::size_t left() const { return static_cast<std::size_t>(end_ - pos_); }

    // True when n more bytes follow p (a position at or after the cursor).
    bool fits(const char* p, std::size_t n) const {
        return n <= static_cast<std::size_t>(end_ - p);
    }

    [[noreturn]] void past_end(const char* p, std::size_t n, const std::string& what) const {
        throw run_time_error("Input past end of file: " + what + " needs " + std::to_string(n) +
                             " bytes at byte " + std::to_string(p - begin_) + ", " +
                             std::to_string(end_ - p) + " left");
    }

    void need(const char* p, std::size_t n, const std::string& what) const {
        if (!fits(p, n)) past_end(p, n, what);
    }

    void skip_to(const char* p) { pos_ = p; }

    std::int32_t read_int32(const std::string& what) {
        need(pos_, 4, what);
        const std::int32_t value = read_i32_le(pos_);
        pos_ += 4;
        return value;
    }

    // Reads a count and checks that count + 1 entries of at least entry_size bytes
    // each fit in the bytes left, so that sizing a table from it can never ask for
    // more memory than the file's size warrants.
    std::int32_t read_count(std::size_t entry_size, const std::string& entry) {
        const std::int32_t count = read_int32("the count");
        if (count < 0) {
            throw run_time_error("Invalid count " + std::to_string(count) +
                                 ": a count cannot be below 0");
        }
        const std::uint64_t entries = static_cast<std::uint64_t>(count) + 1;
        const std::uint64_t least = entries * entry_size;
        if (least > left()) {
            throw run_time_error("Input past end of file: the count " + std::to_string(count) +
                                 " announces " + std::to_string(entries) + " " + entry +
                                 (entries == 1 ? "" : "s") + " needing at least " +
                                 std::to_string(least) + " bytes, " + std::to_string(left()) +
                                 " left");
        }
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

std::string record_name(std::size_t index) { return "record " + std::to_string(index); }

void read_section(Cursor& in, const std::shared_ptr<const FileBytes>& bytes, EpsgSection& section) {
    const EpsgLayout& layout = section.layout();
    const std::int32_t count = in.read_count(layout.smallest_record(), "record");
    section.replace(count, bytes);

    const TextSteps steps(layout);
    const char* p = in.position();
    for (std::size_t index = 0; index <= static_cast<std::size_t>(count); ++index) {
        const char* record = p;
        for (std::size_t t = 0; t < steps.texts; ++t) {
            const std::size_t before = steps.fixed_before[t] + 2;
            if (!in.fits(p, before)) in.past_end(p, before, record_name(index));
            p += before;
            const std::uint16_t length = read_u16_le(p - 2);
            if (!in.fits(p, length)) in.past_end(p, length, record_name(index));
            p += length;
        }
        if (!in.fits(p, steps.fixed_after)) in.past_end(p, steps.fixed_after, record_name(index));
        p += steps.fixed_after;
        section.fill_next(record, p);
    }
    in.skip_to(p);
}

void read_integer_table(Cursor& in, EpsgIntegerTable& table) {
    const std::int32_t count = in.read_count(16, "row");
    std::vector<std::array<std::int32_t, 4>> rows(static_cast<std::size_t>(count) + 1);
    const char* p = in.position();
    for (auto& row : rows) {
        for (std::int32_t& value : row) {
            value = read_i32_le(p);
            p += 4;
        }
    }
    in.skip_to(p);
    table.count = count;
    table.rows = std::move(rows);
}

void read_section9_list(Cursor& in, std::int32_t section9_count, std::vector<std::int32_t>& list) {
    const std::size_t entries = static_cast<std::size_t>(section9_count) + 1;
    in.need(in.position(), 4 * entries, "the section-9 list");
    std::vector<std::int32_t> values(entries);
    const char* p = in.position();
    for (std::int32_t& value : values) {
        value = read_i32_le(p);
        p += 4;
    }
    in.skip_to(p);
    list = std::move(values);
}

// The sections this read reached share its buffer. When more than an eighth of the
// buffer is bytes no table needs (the counts, the tables copied out, whatever follows
// the section-9 list, or the rest of a file that failed), the records' bytes move to
// a buffer of their own size and the file's buffer is freed. A file of records alone
// keeps its buffer; the copy is made only where it frees memory worth the copy.
void keep_only_what_the_tables_need(EpsgStore& store,
                                    const std::shared_ptr<const FileBytes>& bytes) {
    const char* begin = nullptr;
    const char* end = nullptr;
    for (const EpsgSection& section : store.sections) {
        if (section.source() != bytes || section.filled() == 0) continue;
        if (begin == nullptr) begin = section.bytes_begin();
        end = section.bytes_end();
    }
    const std::size_t needed = static_cast<std::size_t>(end - begin);
    if (needed >= bytes->size() - bytes->size() / 8) return;

    std::shared_ptr<FileBytes> kept;
    try {
        kept = std::make_shared<FileBytes>(needed);
    } catch (const std::bad_alloc&) {
        return;  // the tables stay whole in the file's buffer
    }
    if (needed != 0) std::memcpy(kept->data(), begin, needed);
    for (EpsgSection& section : store.sections) {
        if (section.source() == bytes) section.move_source(kept, begin);
    }
}

void read_blocks(Cursor& in, const std::shared_ptr<const FileBytes>& bytes, EpsgStore& store,
                 std::int32_t& stage) {
    for (int k = 1; k <= epsg_section_count; ++k) {
        stage = k;
        read_section(in, bytes, store.section(k));
    }
    stage = 10;
    read_integer_table(in, store.integer_table);
    stage = 11;
    read_section9_list(in, store.section(9).count(), store.section9_list);
}

}  // namespace

void read_epsg_definitions(const std::shared_ptr<const FileBytes>& bytes, EpsgStore& store,
                           std::int32_t& stage) {
    // Record offsets within a buffer are 32-bit.
    if (bytes->size() > epsg_file_size_limit)
        throw file_too_large(bytes->size(), epsg_file_size_limit);
    Cursor in(*bytes);
    try {
        read_blocks(in, bytes, store, stage);
    } catch (...) {
        keep_only_what_the_tables_need(store, bytes);
        throw;
    }
    keep_only_what_the_tables_need(store, bytes);
}

void read_persisted_EPSG_projection_database(FileSystem& files, Desktop& desktop, EpsgStore& store,
                                             const std::string& fname, std::int32_t& ierr) {
    std::int32_t stage = 0;
    std::string description;
    try {
        // The file is opened for reading only, read whole and closed at stage 0. Its
        // size is checked against the limit before its buffer is allocated.
        const auto bytes =
            std::make_shared<const FileBytes>(read_whole_file(files, fname, epsg_file_size_limit));
        read_epsg_definitions(bytes, store, stage);
        ierr = 0;
        return;
    } catch (const run_time_error& e) {
        description = e.description();
    } catch (const std::bad_alloc&) {
        description = "Out of memory";
    } catch (const std::exception& e) {
        description = e.what();
    }
    desktop.message_box("An error occurred while reading the EPSG definitions at stage " +
                            std::to_string(stage) + " : " + description,
                        MessageKind::error);
    ierr = -1;
}

}  // namespace tarnwell
