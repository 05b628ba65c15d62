#pragma once
// Everything one registry key holds, read whole: its values with their full names and
// data (however long), and the names of its subkeys. The export writes from this, so
// that no value is cut to a fixed buffer.
#include <string>
#include <vector>

#include "registry/reg_key.h"

namespace tarnwell {

struct RegKeyContents {
    std::vector<RegValueEntry> values;  // in registry enumeration order
    std::vector<std::string> subkeys;   // in registry enumeration order
};

// Lists an open key into `contents`. reg::success when every entry the key counted was
// read, or the list ended early because entries went meanwhile; otherwise the status of
// the read that failed, and the contents are short.
Status read_key_contents(RegKey& key, RegKeyContents& contents);

}  // namespace tarnwell
