#include "epsg_writer/epsg_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "common/little_endian.h"

namespace tarnwell::epsg_writer {

namespace {

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
    const EpsgLayout& layout = epsg_section_layout(section);
    std::size_t fixed_offset = 0;
    std::size_t text_index = 0;
    for (std::size_t i = 0; i < layout.item_count; ++i) {
        if (layout.is_text(i)) {
            append_text(out, texts ? texts(section, record, text_index) : std::string());
            ++text_index;
        } else {
            for (std::size_t j = 0; j < layout.items[i]; ++j)
                out += static_cast<char>(fixed_byte(section, record, fixed_offset++));
        }
    }
}

}  // namespace

std::uint8_t fixed_byte(int section, std::size_t record, std::size_t offset) {
    return static_cast<std::uint8_t>(section * 31 + record * 7 + offset * 13 + 1);
}

std::int32_t integer_value(std::size_t row, std::size_t column) {
    return static_cast<std::int32_t>(row * 4 + column) * 1000003 - 7;
}

std::int32_t section9_list_value(std::size_t index) {
    return 2000000000 - static_cast<std::int32_t>(index) * 3;
}

int FileImage::stage_for_length(std::size_t length) const {
    for (int stage = 1; stage <= 11; ++stage) {
        if (length < block_start[static_cast<std::size_t>(stage) + 1]) return stage;
    }
    return 12;
}

FileImage write_file(const FilePlan& plan) {
    FileImage image;
    std::string& out = image.bytes;
    for (int k = 1; k <= epsg_section_count; ++k) {
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

std::string write_store(const EpsgStore& store) {
    std::string out;
    for (const EpsgSection& section : store.sections) {
        append_int32(out, section.count());
        const EpsgLayout& layout = section.layout();
        for (std::size_t r = 0; r < section.size(); ++r) {
            const EpsgRecord record = section.record(r);
            std::size_t text = 0;
            std::size_t fixed = 0;
            for (std::size_t i = 0; i < layout.item_count; ++i) {
                if (layout.is_text(i)) {
                    append_text(out, std::string(record.text(text++)));
                } else {
                    out += record.fixed_run(fixed++);
                }
            }
        }
    }
    append_int32(out, store.integer_table.count);
    for (const auto& row : store.integer_table.rows) {
        for (std::int32_t value : row)
            append_int32(out, value);
    }
    for (std::int32_t value : store.section9_list)
        append_int32(out, value);
    return out;
}

TextSource texts_from_pools(TextPools pools) {
    for (const auto& pool : pools) {
        if (pool.empty()) throw std::invalid_argument("every section needs at least one text");
    }
    return [pools = std::move(pools)](int section, std::size_t record, std::size_t text) {
        const auto& pool = pools[static_cast<std::size_t>(section - 1)];
        const std::size_t per_record = epsg_section_layout(section).text_count();
        return pool[(record * per_record + text) % pool.size()];
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
