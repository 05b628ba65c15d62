#include "registry/reg_key_contents.h"

#include <algorithm>

#include "platform/run_time_error.h"

namespace tarnwell {

namespace {

// Windows limits value names to 16,383 characters.
constexpr std::uint32_t longest_value_name = 16383;

}  // namespace

bool read_key_contents(RegistryApi& registry, reg_key root, const std::string& sub_key,
                       RegKeyContents& contents) {
    contents = RegKeyContents();
    reg_key key = 0;
    if (registry.open_key(root, sub_key.c_str(), reg::key_read, &key) != reg::success) return false;
    std::uint32_t subkeys = 0, longest_subkey = 0, values = 0, longest_name = 0, longest_data = 0;
    long status = registry.query_key_info(key, &subkeys, &longest_subkey, &values, &longest_name,
                                          &longest_data);
    if (status == reg::success) {
        // Buffers as large as the longest entries, and the counts say how many entries
        // to ask for, which saves the call that would only report the end of each list.
        KeyEnumerator entries(
            registry, key, std::min(std::max(longest_subkey, longest_name), longest_value_name) + 1,
            longest_data);
        for (std::uint32_t index = 0; index < values && status == reg::success; ++index) {
            RegValueEntry value;
            status = entries.value(index, value);
            if (status == reg::success) contents.values.push_back(std::move(value));
        }
        // The end of a list that got shorter since it was counted ends it well.
        if (status == reg::no_more_items) status = reg::success;
        for (std::uint32_t index = 0; index < subkeys && status == reg::success; ++index) {
            std::string name;
            status = entries.subkey(index, name);
            if (status == reg::success) contents.subkeys.push_back(std::move(name));
        }
        if (status == reg::no_more_items) status = reg::success;
    }
    registry.close_key(key);
    // Anything else (the key deleted meanwhile, a refused read, an entry that kept
    // outgrowing its buffers) would leave the key's contents short.
    if (status != reg::success) throw run_time_error("The registry key could not be read whole");
    return true;
}

}  // namespace tarnwell
