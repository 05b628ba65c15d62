#include "epsg_writer/epsg_writer.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "common/little_endian.h"

namespace tarnwell::epsg_writer {

namespace {

// The record layout of each section, as the file format gives it: items in file order,
// F<n> a fixed run of n bytes, T a counted text (a 16-bit little-endian length, then
// that many bytes).
constexpr const char* section_layouts[epsg_section_count] = {
    "F8 T T T F24",
    "F4 T T F24",
    "F4 T F32",
    "F4 T F8",
    "F4 T T F24",
    "F4 T T F4 T F2 F4 T F4 T F10 F80",
    "F4 T T F32 T F4",
    "F4 T F12",
    "F4 T T F4 T T T F20 T F14 F96",
};

// A layout's items: the size of each fixed run, 0 for a text.
using Items = std::vector<std::size_t>;

const Items& items_of(int section) {
    static const auto all = [] {
        std::array<Items, epsg_section_count> parsed;
        for (std::size_t k = 0; k < epsg_section_count; ++k) {
            std::istringstream in(section_layouts[k]);
            std::string item;
            while (in >> item)
                parsed[k].push_back(item == "T" ? 0 : std::stoul(item.substr(1)));
        }
        return parsed;
    }();
    return all.at(static_cast<std::size_t>(section - 1));
}

std::size_t texts_per_record(int section) {
    const Items& items = items_of(section);
    return static_cast<std::size_t>(std::count(items.begin(), items.end(), std::size_t{0}));
}

// The patterns of the written fixed runs (byte at offset within the record's fixed
// bytes, counted across all its runs), integer table and section-9 list.
std::uint8_t fixed_byte(int section, std::size_t record, std::size_t offset) {
    return static_cast<std::uint8_t>(section * 31 + record * 7 + offset * 13 + 1);
}

std::int32_t integer_value(std::size_t row, std::size_t column) {
    return static_cast<std::int32_t>(row * 4 + column) * 1000003 - 7;
}

std::int32_t section9_list_value(std::size_t index) {
    return 2000000000 - static_cast<std::int32_t>(index) * 3;
}

void append_int32(std::string& out, std::int32_t value) {
    out += u32_le_bytes(static_cast<std::uint32_t>(value));
}

void append_text(std::string& out, const std::string& text) {
    if (text.size() > 0xffff) throw std::length_error("a counted text holds at most 65535 bytes");
    const auto length = static_cast<std::uint32_t>(text.size());
    out += static_cast<char>(length & 0xffu);
    out += static_cast<char>(length >> 8);
    out += text;
}

// One record of the layout: the texts from the source, the fixed runs from the pattern.
void append_record(std::string& out, int section, std::size_t record, const TextSource& texts) {
    std::size_t fixed_offset = 0;
    std::size_t text_index = 0;
    for (const std::size_t item : items_of(section)) {
        if (item == 0) {
            append_text(out, texts ? texts(section, record, text_index) : std::string());
            ++text_index;
        } else {
            for (std::size_t j = 0; j < item; ++j)
                out += static_cast<char>(fixed_byte(section, record, fixed_offset++));
        }
    }
}

// Steps through bytes item by item; false once a step runs past their end.
struct Walk {
    std::string_view bytes;
    std::size_t at = 0;

    bool skip(std::uint64_t n) {
        if (n > bytes.size() - at) return false;
        at += static_cast<std::size_t>(n);
        return true;
    }
    // A count of at least 0, or -1 when it is missing or negative.
    std::int64_t count() {
        if (!skip(4)) return -1;
        const std::int32_t value = read_i32_le(bytes.data() + at - 4);
        return value < 0 ? -1 : value;
    }
    bool record(int section) {
        for (const std::size_t item : items_of(section)) {
            const bool fits =
                item != 0 ? skip(item) : skip(2) && skip(read_u16_le(bytes.data() + at - 2));
            if (!fits) return false;
        }
        return true;
    }
};

}  // namespace

std::size_t smallest_record(int section) {
    std::size_t bytes = 0;
    for (const std::size_t item : items_of(section))
        bytes += item == 0 ? 2 : item;
    return bytes;
}

int FileImage::stage_for_length(std::size_t length) const {
    for (int stage = 1; stage <= 11; ++stage) {
        if (length < block_start[static_cast<std::size_t>(stage) + 1]) return stage;
    }
    return 12;
}

int stage_reached(std::string_view bytes) {
    Walk walk{bytes};
    std::int64_t section9_count = 0;
    for (int k = 1; k <= static_cast<int>(epsg_section_count); ++k) {
        const std::int64_t count = walk.count();
        if (count < 0) return k;
        for (std::int64_t r = 0; r <= count; ++r) {
            if (!walk.record(k)) return k;
        }
        section9_count = count;
    }
    const std::int64_t rows = walk.count();
    if (rows < 0 || !walk.skip(16 * (static_cast<std::uint64_t>(rows) + 1))) return 10;
    if (!walk.skip(4 * (static_cast<std::uint64_t>(section9_count) + 1))) return 11;
    return 12;
}

FileImage write_file(const FilePlan& plan) {
    FileImage image;
    std::string& out = image.bytes;
    for (int k = 1; k <= static_cast<int>(epsg_section_count); ++k) {
        image.block_start[static_cast<std::size_t>(k)] = out.size();
        const std::int32_t count = plan.counts[static_cast<std::size_t>(k - 1)];
        if (count < 0) throw std::invalid_argument("a section count cannot be below 0");
        append_int32(out, count);
        for (std::size_t r = 0; r <= static_cast<std::size_t>(count); ++r)
            append_record(out, k, r, plan.texts);
    }
    image.block_start[10] = out.size();
    if (plan.integer_count < 0) throw std::invalid_argument("the integer count cannot be below 0");
    append_int32(out, plan.integer_count);
    for (std::size_t row = 0; row <= static_cast<std::size_t>(plan.integer_count); ++row) {
        for (std::size_t column = 0; column < 4; ++column)
            append_int32(out, integer_value(row, column));
    }
    image.block_start[11] = out.size();
    for (std::size_t i = 0; i <= static_cast<std::size_t>(plan.counts[8]); ++i)
        append_int32(out, section9_list_value(i));
    image.block_start[12] = out.size();
    return image;
}

FileImage write_file_of_size(const FilePlan& plan, std::size_t bytes) {
    // The size grows with the number of records, so one trial file gives the factor.
    const FileImage trial = write_file(plan);
    const double factor = static_cast<double>(bytes) / static_cast<double>(trial.bytes.size());
    auto scale = [factor](std::int32_t count) {
        const double records = std::max(1.0, std::ceil((count + 1.0) * factor));
        if (records > 0x7fffffff) throw std::length_error("too many records for a count");
        return static_cast<std::int32_t>(records) - 1;
    };
    FilePlan scaled = plan;
    for (auto& count : scaled.counts)
        count = scale(count);
    scaled.integer_count = scale(plan.integer_count);
    return write_file(scaled);
}

TextSource texts_from_pools(TextPools pools) {
    for (const auto& pool : pools) {
        if (pool.empty()) throw std::invalid_argument("every section needs at least one text");
    }
    return [pools = std::move(pools)](int section, std::size_t record, std::size_t text) {
        const auto& pool = pools[static_cast<std::size_t>(section - 1)];
        return pool[(record * texts_per_record(section) + text) % pool.size()];
    };
}

TextSource synthetic_texts() {
    return [](int section, std::size_t record, std::size_t text) {
        std::string name = "Name " + std::to_string(section) + "." + std::to_string(record) + "." +
                           std::to_string(text) + " ";
        name.append((record * 7 + text * 11) % 48, 'x');
        return name;
    };
}

void put_int32(std::string& bytes, std::size_t offset, std::int32_t value) {
    std::string encoded;
    append_int32(encoded, value);
    bytes.replace(offset, 4, encoded);
}

}  // namespace tarnwell::epsg_writer
