#pragma once
// The record layouts of the EPSG definitions file, and which section is written in
// which layout.
#include <array>
#include <cstddef>
#include <cstdint>

namespace tarnwell {

// A record layout: its items in file order, each directly after the one before. An
// item is a fixed run of that many bytes, or a counted text (a 16-bit little-endian
// length, then that many bytes of ANSI text) where the size is 0.
struct EpsgLayout {
    static constexpr std::size_t max_items = 12;
    static constexpr std::uint8_t text = 0;

    char name;
    std::size_t item_count;
    std::array<std::uint8_t, max_items> items;

    constexpr bool is_text(std::size_t item) const { return items[item] == text; }

    constexpr std::size_t text_count() const {
        std::size_t n = 0;
        for (std::size_t i = 0; i < item_count; ++i)
            n += is_text(i) ? 1 : 0;
        return n;
    }

    constexpr std::size_t fixed_bytes() const {
        std::size_t n = 0;
        for (std::size_t i = 0; i < item_count; ++i)
            n += items[i];
        return n;
    }

    // The size of a record whose texts are all empty: the least any record takes.
    constexpr std::size_t smallest_record() const { return fixed_bytes() + 2 * text_count(); }
};

namespace epsg_layout {
constexpr std::uint8_t T = EpsgLayout::text;

// Where two fixed runs stand next to each other they are two fields of the record.
inline constexpr EpsgLayout A{'A', 5, {8, T, T, T, 24}};
inline constexpr EpsgLayout B{'B', 4, {4, T, T, 24}};
inline constexpr EpsgLayout C{'C', 3, {4, T, 32}};
inline constexpr EpsgLayout D{'D', 3, {4, T, 8}};
inline constexpr EpsgLayout E{'E', 12, {4, T, T, 4, T, 2, 4, T, 4, T, 10, 80}};
inline constexpr EpsgLayout F{'F', 6, {4, T, T, 32, T, 4}};
inline constexpr EpsgLayout G{'G', 3, {4, T, 12}};
inline constexpr EpsgLayout H{'H', 11, {4, T, T, 4, T, T, T, 20, T, 14, 96}};
}  // namespace epsg_layout

// The file holds nine sections; sections 2 and 5 share a layout.
constexpr int epsg_section_count = 9;

inline constexpr std::array<const EpsgLayout*, epsg_section_count> epsg_section_layouts = {
    &epsg_layout::A, &epsg_layout::B, &epsg_layout::C, &epsg_layout::D, &epsg_layout::B,
    &epsg_layout::E, &epsg_layout::F, &epsg_layout::G, &epsg_layout::H};

// The layout of section 1 to 9.
constexpr const EpsgLayout& epsg_section_layout(int section) {
    return *epsg_section_layouts[static_cast<std::size_t>(section - 1)];
}

}  // namespace tarnwell
