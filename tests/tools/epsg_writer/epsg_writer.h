#pragma once
// Writes EPSG definitions files: valid files of given counts and texts, for the tests,
// the benchmark, the fuzzer's seeds and by hand; and finds how far a reader of any
// bytes must come, as the tests' and the fuzzer's reference. It knows the record
// layouts on its own, apart from the program's reader.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell::epsg_writer {

// The file holds nine sections, then the integer table and the section-9 list.
constexpr std::size_t epsg_section_count = 9;

// The text of a record: section 1 to 9, record index, text index in layout order.
using TextSource = std::function<std::string(int section, std::size_t record, std::size_t text)>;

struct FilePlan {
    // The count of each section: it announces count + 1 records.
    std::array<std::int32_t, epsg_section_count> counts{};
    // The integer table holds integer_count + 1 rows of 4 integers.
    std::int32_t integer_count = 0;
    // Empty texts when unset.
    TextSource texts;
};

// A written file and where its blocks lie.
struct FileImage {
    std::string bytes;
    // block_start[s] is the offset of the block read at stage s (1 to 11);
    // block_start[12] is the end of the section-9 list.
    std::array<std::size_t, 13> block_start{};

    // The stage at which a reader of the first `length` bytes alone must fail (1 to
    // 11), or 12 when those bytes hold the whole file.
    int stage_for_length(std::size_t length) const;
};

FileImage write_file(const FilePlan& plan);

// A file of about `bytes` bytes: the plan with every count scaled, up or down, by one
// factor (count + 1 records become factor * (count + 1), at least one), the integer
// table too.
FileImage write_file_of_size(const FilePlan& plan, std::size_t bytes);

// Counts in the proportions of the EPSG dataset's tables, one per section.
inline constexpr std::array<std::int32_t, epsg_section_count> epsg_dataset_counts = {
    1093, 94, 54, 13, 607, 5499, 2592, 3643, 1530};

// The bytes a record of the section takes when all its texts are empty.
std::size_t smallest_record(int section);

// The stage at which a reader of these bytes must fail (1 to 11: a block runs past the
// end or has a negative count), or 12 when they begin with a whole file.
int stage_reached(std::string_view bytes);

// Texts taken in turn from one list of texts per section (index 0 for section 1).
using TextPools = std::array<std::vector<std::string>, epsg_section_count>;
TextSource texts_from_pools(TextPools pools);

// Made-up texts of varied length, as long on average as the names of the EPSG dataset.
TextSource synthetic_texts();

// Overwrites 4 bytes at offset with a little-endian integer, e.g. to plant a bad count.
void put_int32(std::string& bytes, std::size_t offset, std::int32_t value);

}  // namespace tarnwell::epsg_writer
