#pragma once
// Everything one registry key holds, read whole: its values with their full names and
// data (however long), and the names of its subkeys. The export writes from this, so
// that no value is cut to a fixed buffer.
#include <string>
#include <vector>

#include "platform/registry_api.h"
#include "registry/key_enumeration.h"

namespace tarnwell {

struct RegKeyContents {
    std::vector<RegValueEntry> values;  // in registry enumeration order
    std::vector<std::string> subkeys;   // in registry enumeration order
};

// Opens the key for reading, lists it and closes it again. False when the key cannot
// be opened; the contents are then empty. Raises run_time_error when the key opened
// but could not be listed whole.
bool read_key_contents(RegistryApi& registry, reg_key root, const std::string& sub_key,
                       RegKeyContents& contents);

}  // namespace tarnwell
