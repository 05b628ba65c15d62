#include "registry/reg_key_contents.h"

#include <algorithm>

namespace tarnwell {

namespace {

// A value that grows between the size query and the read makes the read report
// more data; it is read again with larger buffers a few times, then left out.
constexpr int max_read_attempts = 4;
// Windows limits value names to 16,383 characters and key names to 255.
constexpr std::uint32_t longest_value_name = 16383;
constexpr std::uint32_t longest_key_name = 255;

struct KeyInfo {
    std::uint32_t subkeys = 0, longest_subkey = 0, values = 0, longest_name = 0,
                  longest_data = 0;
};

// The counts say how many entries to ask for, which saves the call that would only
// report the end of each list.
void list_values(RegistryApi& registry, reg_key key, const KeyInfo& info,
                 std::vector<RegValueEntry>& values) {
    std::vector<char> name(std::min(info.longest_name, longest_value_name) + 1u);
    std::vector<std::uint8_t> data(std::max<std::uint32_t>(info.longest_data, 1u));
    int attempts = 0;
    for (std::uint32_t index = 0; index < info.values;) {
        std::uint32_t name_size = static_cast<std::uint32_t>(name.size());
        std::uint32_t data_size = static_cast<std::uint32_t>(data.size());
        std::uint32_t type = reg::type_none;
        const long status = registry.RegEnumValueA(key, index, name.data(), &name_size, &type,
                                                   data.data(), &data_size);
        if (status == reg::more_data && ++attempts < max_read_attempts) {
            // The name or the data outgrew its buffer; the data size, when reported,
            // is exact.
            name.resize(std::max<std::size_t>(
                name.size(), std::min<std::size_t>(name.size() * 2, longest_value_name + 1u)));
            data.resize(std::max<std::size_t>(data.size() * 2, data_size));
            continue;
        }
        if (status == reg::success) {
            RegValueEntry entry;
            entry.name.assign(name.data(), std::min<std::size_t>(name_size, name.size()));
            entry.type = type;
            entry.data.assign(reinterpret_cast<const char*>(data.data()),
                              std::min<std::size_t>(data_size, data.size()));
            values.push_back(std::move(entry));
        } else if (status != reg::more_data) {
            break;  // the list got shorter, or the key is gone
        }
        attempts = 0;
        ++index;
    }
}

void list_subkeys(RegistryApi& registry, reg_key key, const KeyInfo& info,
                  std::vector<std::string>& subkeys) {
    std::vector<char> name(std::min(info.longest_subkey, longest_key_name) + 1u);
    for (std::uint32_t index = 0; index < info.subkeys; ++index) {
        std::uint32_t size = static_cast<std::uint32_t>(name.size());
        long status = registry.RegEnumKeyExA(key, index, name.data(), &size);
        if (status == reg::more_data) {
            // A subkey with a longer name came in since the count was taken.
            name.resize(longest_key_name + 1u);
            size = static_cast<std::uint32_t>(name.size());
            status = registry.RegEnumKeyExA(key, index, name.data(), &size);
        }
        if (status != reg::success) break;
        subkeys.emplace_back(name.data(), std::min<std::size_t>(size, name.size()));
    }
}

}  // namespace

bool read_key_contents(RegistryApi& registry, reg_key root, const std::string& sub_key,
                       RegKeyContents& contents) {
    contents = RegKeyContents();
    reg_key key = 0;
    if (registry.RegOpenKeyExA(root, sub_key.c_str(), reg::key_read, &key) != reg::success)
        return false;
    KeyInfo info;
    if (registry.RegQueryInfoKeyA(key, &info.subkeys, &info.longest_subkey, &info.values,
                                  &info.longest_name, &info.longest_data) == reg::success) {
        list_values(registry, key, info, contents.values);
        list_subkeys(registry, key, info, contents.subkeys);
    }
    registry.RegCloseKey(key);
    return true;
}

}  // namespace tarnwell
