#pragma once
// The program-wide store of EPSG definitions that the definitions reader fills: nine
// section tables, the integer table and the section-9 list. Each read replaces the
// store table by table, so after a failed read some tables may hold the new file's
// content and others the content of an earlier read.
//
// A section's records are not copied out of the file: a table keeps the buffer its
// file was read into and each record is a view of its own bytes there, so that reading
// a file costs little more than reading its bytes. A table that a later read does not
// reach keeps its own file's buffer alive.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "epsg/epsg_layouts.h"
#include "platform/file_bytes.h"

namespace tarnwell {

// One record of a section: its fixed runs and its texts, in layout order. A record
// that no read has filled has empty texts and fixed runs of zero bytes.
class EpsgRecord {
public:
    // data is the record's first byte in its file, already checked to hold the whole
    // record; null for a record not filled.
    EpsgRecord(const EpsgLayout& layout, const char* data) : layout_(&layout), data_(data) {}

    bool filled() const { return data_ != nullptr; }
    // The k-th text of the record (0-based, in layout order), as ANSI bytes.
    std::string_view text(std::size_t k) const;
    // The k-th fixed run of the record (0-based, in layout order), as its bytes.
    std::string_view fixed_run(std::size_t k) const;
    // Bytes the record takes in its file.
    std::size_t size_on_disk() const;

private:
    // The bytes of the item at that index of the layout (for a text, without its length).
    std::string_view item(std::size_t index) const;
    std::size_t index_of(bool text, std::size_t k) const;

    const EpsgLayout* layout_;
    const char* data_;
};

// One section table: its count and its records with indices 0 to the count, filled
// in index order by a read.
class EpsgSection {
public:
    explicit EpsgSection(const EpsgLayout& layout) : layout_(&layout) {}

    const EpsgLayout& layout() const { return *layout_; }
    // The count read from the file; -1 before any read sized the table.
    std::int32_t count() const { return count_; }
    std::size_t size() const { return size_; }
    // Records from index filled() on have not been filled.
    std::size_t filled() const { return filled_; }
    EpsgRecord record(std::size_t index) const;

    // Replaces the table by count + 1 records not yet filled, whose bytes will lie in
    // source. On failure (no memory) the table is left as it was.
    void replace(std::int32_t count, std::shared_ptr<const FileBytes> source);
    // Fills the next record, whose bytes start at `begin` in the table's source, where
    // the record before it ended.
    void fill_next(const char* begin) {
        if (filled_ == 0) first_ = begin;
        offsets_[filled_++] = static_cast<std::uint32_t>(begin - first_);
    }

private:
    const EpsgLayout* layout_;
    std::int32_t count_ = -1;
    std::size_t size_ = 0;
    std::size_t filled_ = 0;
    std::shared_ptr<const FileBytes> source_;
    // Record i starts offsets_[i] bytes after first_, the start of record 0.
    std::unique_ptr<std::uint32_t[]> offsets_;
    const char* first_ = nullptr;
};

// The integer table: rows 0 to its count, columns 0 to 3.
struct EpsgIntegerTable {
    std::int32_t count = -1;
    std::vector<std::array<std::int32_t, 4>> rows;
};

struct EpsgStore {
    EpsgStore();

    // Section 1 to 9.
    EpsgSection& section(int k) { return sections.at(static_cast<std::size_t>(k - 1)); }
    const EpsgSection& section(int k) const { return sections.at(static_cast<std::size_t>(k - 1)); }

    std::array<EpsgSection, epsg_section_count> sections;
    EpsgIntegerTable integer_table;
    // One entry per record of section 9.
    std::vector<std::int32_t> section9_list;
};

}  // namespace tarnwell
