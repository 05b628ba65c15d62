#include "registry/reg_key_contents.h"

#include <algorithm>

namespace tarnwell {

namespace {

// A value that grows between the size query and the read makes the read report
// more data; it is read again with larger buffers a few times, then left out.
constexpr int max_read_attempts = 4;
// Windows limits value names to 16,383 characters.
constexpr std::uint32_t longest_value_name = 16383;

void list_values(RegistryApi& registry, reg_key key, std::vector<RegValueEntry>& values) {
    std::uint32_t name_chars = 0;
    std::uint32_t data_bytes = 0;
    if (registry.RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &name_chars, &data_bytes) !=
        reg::success)
        return;
    std::vector<char> name(std::min(name_chars, longest_value_name) + 1u);
    std::vector<std::uint8_t> data(std::max<std::uint32_t>(data_bytes, 1u));
    int attempts = 0;
    for (std::uint32_t index = 0;;) {
        std::uint32_t name_size = static_cast<std::uint32_t>(name.size());
        std::uint32_t data_size = static_cast<std::uint32_t>(data.size());
        std::uint32_t type = reg::type_none;
        const long status = registry.RegEnumValueA(key, index, name.data(), &name_size, &type,
                                                   data.data(), &data_size);
        if (status == reg::more_data) {
            if (++attempts < max_read_attempts) {
                // The name or the data outgrew its buffer; the data size, when
                // reported, is exact.
                const std::size_t longer_name =
                    std::min<std::size_t>(name.size() * 2, longest_value_name + 1u);
                name.resize(std::max(name.size(), longer_name));
                data.resize(std::max<std::size_t>(data.size() * 2, data_size));
                continue;
            }
        } else if (status != reg::success) {
            break;  // the end of the list, or the key is gone
        } else {
            RegValueEntry entry;
            entry.name.assign(name.data(), std::min<std::size_t>(name_size, name.size()));
            entry.type = type;
            entry.data.assign(reinterpret_cast<const char*>(data.data()),
                              std::min<std::size_t>(data_size, data.size()));
            values.push_back(std::move(entry));
        }
        attempts = 0;
        ++index;
    }
}

void list_subkeys(RegistryApi& registry, reg_key key, std::vector<std::string>& subkeys) {
    // Key names are at most 255 characters.
    char name[256];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t size = sizeof name;
        if (registry.RegEnumKeyExA(key, index, name, &size) != reg::success) break;
        subkeys.emplace_back(name, std::min<std::size_t>(size, sizeof name - 1));
    }
}

}  // namespace

bool read_key_contents(RegistryApi& registry, reg_key root, const std::string& sub_key,
                       RegKeyContents& contents) {
    contents = RegKeyContents();
    reg_key key = 0;
    if (registry.RegOpenKeyExA(root, sub_key.c_str(), reg::key_read, &key) != reg::success)
        return false;
    list_values(registry, key, contents.values);
    list_subkeys(registry, key, contents.subkeys);
    registry.RegCloseKey(key);
    return true;
}

}  // namespace tarnwell
