#pragma once
// A stored registry value as the report shows it, whatever its type: the report reads a
// setting whole and writes it as text.
#include <string>

#include "registry/reg_key.h"

namespace tarnwell {

// A text type gives its characters without one final NUL (a multi-text keeps the NULs
// between its texts). A 4-byte REG_DWORD or REG_DWORD_BIG_ENDIAN and an 8-byte REG_QWORD
// give their number in unsigned decimal digits. Every other value, a number of the wrong
// size included, gives its bytes as upper-case hex pairs with a space between them
// ("01 0A FF"), as the registry access class shows binary values.
std::string value_as_text(const RegValueEntry& value);

}  // namespace tarnwell
