#include "registry/key_enumeration.h"

#include <algorithm>

namespace tarnwell {

namespace {

// An entry that grows between the size query and the read makes the read report more
// data; it is read again with larger buffers a few times before the read gives up.
constexpr int max_read_attempts = 4;
// Windows limits value names to 16,383 characters.
constexpr std::size_t longest_value_name = 16383;

std::uint32_t size_of(const std::vector<char>& buffer) {
    return static_cast<std::uint32_t>(buffer.size());
}

}  // namespace

KeyEnumerator::KeyEnumerator(RegistryApi& api, reg_key key, std::uint32_t name_buffer,
                             std::uint32_t data_buffer)
    : api_(api), key_(key), name_(std::max(name_buffer, 1u)), data_(std::max(data_buffer, 1u)) {}

void KeyEnumerator::grow(std::uint32_t reported_data_size) {
    std::uint32_t longest_subkey = 0, longest_name = 0, longest_data = 0;
    api_.query_key_info(key_, nullptr, &longest_subkey, nullptr, &longest_name, &longest_data);
    const std::size_t longest = std::max(longest_subkey, longest_name) + std::size_t{1};
    name_.resize(std::max(name_.size(),
                          std::min(std::max(name_.size() * 2, longest), longest_value_name + 1)));
    data_.resize(std::max<std::size_t>({data_.size() * 2, longest_data, reported_data_size}));
}

long KeyEnumerator::subkey(std::uint32_t index, std::string& name) {
    for (int attempt = 1;; ++attempt) {
        std::uint32_t size = size_of(name_);
        const long status = api_.enum_subkey(key_, index, name_.data(), &size);
        if (status == reg::more_data && attempt < max_read_attempts) {
            grow(0);
            continue;
        }
        if (status == reg::success) name.assign(name_.data(), std::min(size, size_of(name_)));
        return status;
    }
}

long KeyEnumerator::value(std::uint32_t index, RegValueEntry& value) {
    for (int attempt = 1;; ++attempt) {
        std::uint32_t name_size = size_of(name_);
        auto data_size = static_cast<std::uint32_t>(data_.size());
        std::uint32_t type = reg::type_none;
        const long status =
            api_.enum_value(key_, index, name_.data(), &name_size, &type, data_.data(), &data_size);
        if (status == reg::more_data && attempt < max_read_attempts) {
            grow(data_size);
            continue;
        }
        if (status == reg::success) {
            value.name.assign(name_.data(), std::min(name_size, size_of(name_)));
            value.type = type;
            value.data.assign(reinterpret_cast<const char*>(data_.data()),
                              std::min<std::size_t>(data_size, data_.size()));
        }
        return status;
    }
}

}  // namespace tarnwell
