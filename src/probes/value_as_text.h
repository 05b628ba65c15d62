#pragma once
// A stored registry value as the report shows it, whatever its type: the report reads a
// setting whole and writes it as text.
#include <string>

#include "common/status.h"
#include "platform/registry_api.h"
#include "registry/reg_key.h"

namespace tarnwell {

// A text gives its characters up to its first NUL, as a program reading it sees them; a
// multi-text gives its texts up to the first empty one, each ending at a line feed but
// the last. A 4-byte REG_DWORD or REG_DWORD_BIG_ENDIAN and an 8-byte REG_QWORD give their
// number in unsigned decimal digits. Every other value, a number of the wrong size
// included, gives its bytes as upper-case hex pairs with a space between them
// ("01 0A FF"), as the registry access class shows binary values. No NUL is ever given.
std::string value_as_text(const RegValueEntry& value);

// The value read whole and given as value_as_text does; file_not_found when the key or
// the value is not there.
Result<std::string> read_value_as_text(RegistryApi& registry, reg_key root,
                                       const std::string& sub_key, const std::string& name);

}  // namespace tarnwell
