#include "registry/reg_key_contents.h"

#include <algorithm>

namespace tarnwell {

namespace {

// Windows limits value names to 16,383 characters.
constexpr std::uint32_t longest_value_name = 16383;

}  // namespace

bool read_key_contents(RegistryApi& registry, reg_key root, const std::string& sub_key,
                       RegKeyContents& contents) {
    contents = RegKeyContents();
    reg_key key = 0;
    if (registry.RegOpenKeyExA(root, sub_key.c_str(), reg::key_read, &key) != reg::success)
        return false;
    std::uint32_t subkeys = 0, longest_subkey = 0, values = 0, longest_name = 0,
                  longest_data = 0;
    if (registry.RegQueryInfoKeyA(key, &subkeys, &longest_subkey, &values, &longest_name,
                                  &longest_data) == reg::success) {
        // Buffers as large as the longest entries, and the counts say how many entries
        // to ask for, which saves the call that would only report the end of each list.
        KeyEnumerator entries(
            registry, key, std::min(std::max(longest_subkey, longest_name), longest_value_name) + 1,
            longest_data);
        for (std::uint32_t index = 0; index < values; ++index) {
            RegValueEntry value;
            const long status = entries.value(index, value);
            if (status == reg::more_data) continue;  // kept outgrowing its buffers: left out
            if (status != reg::success) break;       // the list got shorter, or the key is gone
            contents.values.push_back(std::move(value));
        }
        for (std::uint32_t index = 0; index < subkeys; ++index) {
            std::string name;
            if (entries.subkey(index, name) != reg::success) break;
            contents.subkeys.push_back(std::move(name));
        }
    }
    registry.RegCloseKey(key);
    return true;
}

}  // namespace tarnwell
