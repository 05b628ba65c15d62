#include "registry/reg_key_contents.h"

namespace tarnwell {

Status read_key_contents(RegKey& key, RegKeyContents& contents) {
    contents = RegKeyContents();
    RegKeyInfo info;
    Status status = key.query_info(info);
    // The counts say how many entries to ask for, which saves the call that would only
    // report the end of each list.
    for (std::uint32_t index = 0; index < info.values && status == reg::success; ++index) {
        RegValueEntry value;
        status = key.enum_value(index, value);
        if (status == reg::success) contents.values.push_back(std::move(value));
    }
    if (status == reg::no_more_items) status = Status(reg::success);
    for (std::uint32_t index = 0; index < info.subkeys && status == reg::success; ++index) {
        std::string name;
        status = key.enum_subkey(index, name);
        if (status == reg::success) contents.subkeys.push_back(std::move(name));
    }
    if (status == reg::no_more_items) status = Status(reg::success);
    return status;
}

}  // namespace tarnwell
