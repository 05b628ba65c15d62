#pragma once
// Reads the subkeys and values of an open key by index, whole. An entry whose name or
// data does not fit the buffers is read again into buffers grown to the longest the
// key reports, so nothing is cut to a fixed size. The buffers are kept from one entry
// to the next.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry_api.h"

namespace tarnwell {

struct RegValueEntry {
    std::string name;
    std::uint32_t type = reg::type_none;
    std::string data;  // the stored bytes, one character per byte
};

class KeyEnumerator {
public:
    // The first buffers: name_buffer characters (with room for the NUL) and
    // data_buffer bytes.
    KeyEnumerator(RegistryApi& api, reg_key key, std::uint32_t name_buffer,
                  std::uint32_t data_buffer);

    // Each returns the registry's status: success with the entry filled in,
    // no_more_items past the end of the list, or the failure (more_data only for an
    // entry that kept outgrowing its buffers).
    long subkey(std::uint32_t index, std::string& name);
    long value(std::uint32_t index, RegValueEntry& value);

private:
    // Makes room for the longest name and data the key now holds, and at least twice
    // the room there was; a data size the registry reported is exact.
    void grow(std::uint32_t reported_data_size);

    RegistryApi& api_;
    reg_key key_;
    std::vector<char> name_;
    std::vector<std::uint8_t> data_;
};

}  // namespace tarnwell
