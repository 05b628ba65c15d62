#include "epsg/epsg_store.h"

#include <stdexcept>
#include <utility>

#include "common/little_endian.h"

namespace tarnwell {

namespace {

// What a record not yet filled shows for a fixed run: that many zero bytes.
constexpr std::size_t longest_fixed_run = 96;
constexpr char zeros[longest_fixed_run] = {};

std::array<EpsgSection, epsg_section_count> new_sections() {
    return {EpsgSection(epsg_section_layout(1)), EpsgSection(epsg_section_layout(2)),
            EpsgSection(epsg_section_layout(3)), EpsgSection(epsg_section_layout(4)),
            EpsgSection(epsg_section_layout(5)), EpsgSection(epsg_section_layout(6)),
            EpsgSection(epsg_section_layout(7)), EpsgSection(epsg_section_layout(8)),
            EpsgSection(epsg_section_layout(9))};
}

}  // namespace

std::size_t EpsgRecord::index_of(bool text, std::size_t k) const {
    for (std::size_t i = 0; i < layout_->item_count; ++i) {
        if (layout_->is_text(i) == text && k-- == 0) return i;
    }
    throw std::out_of_range(text ? "no such text in the record" : "no such fixed run");
}

std::string_view EpsgRecord::item(std::size_t index) const {
    const bool text = layout_->is_text(index);
    if (data_ == nullptr) {
        return text ? std::string_view() : std::string_view(zeros, layout_->items[index]);
    }
    const char* p = data_;
    for (std::size_t i = 0; i < index; ++i)
        p += layout_->is_text(i) ? 2 + read_u16_le(p) : layout_->items[i];
    if (text) return {p + 2, read_u16_le(p)};
    return {p, layout_->items[index]};
}

std::string_view EpsgRecord::text(std::size_t k) const { return item(index_of(true, k)); }

std::string_view EpsgRecord::fixed_run(std::size_t k) const { return item(index_of(false, k)); }

std::size_t EpsgRecord::size_on_disk() const {
    if (data_ == nullptr) return 0;
    const std::string_view last = item(layout_->item_count - 1);
    return static_cast<std::size_t>(last.data() + last.size() - data_);
}

EpsgRecord EpsgSection::record(std::size_t index) const {
    if (index >= size_) throw std::out_of_range("no such record in the section");
    return {*layout_, index < filled_ ? first_ + offsets_[index] : nullptr};
}

void EpsgSection::replace(std::int32_t count, std::shared_ptr<const FileBytes> source) {
    const std::size_t size = static_cast<std::size_t>(count) + 1;
    // Left uninitialised: each entry is written when its record is filled.
    offsets_.reset(new std::uint32_t[size]);
    size_ = size;
    filled_ = 0;
    first_ = nullptr;
    source_ = std::move(source);
    count_ = count;
}

EpsgStore::EpsgStore() : sections(new_sections()) {}

}  // namespace tarnwell
