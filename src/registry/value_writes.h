#pragma once
// The one way values get written: the key opened for writing (created first when it is
// missing and the writer may create keys), then the value set through the RegKey. The
// class's WriteString, WriteDWORD and WriteBinary and the REGEDIT4 import both go
// through here.
#include <string>

#include "platform/registry_api.h"
#include "registry/key_path.h"
#include "registry/reg_key.h"

namespace tarnwell {

// Opens the key at `path` for writing into `key`: when `create` holds, creating it
// first if it is missing; otherwise only a key the caller may open with full access
// (one that cannot be counts as missing, and nothing is touched).
long open_for_writing(const KeyPath& path, bool create, RegKey& key);

// The name a text value is written under: "@" stands for the key's default value, as in
// a REGEDIT4 file. Only texts map it; numbers and bytes take "@" as an ordinary name.
std::string text_value_name(const std::string& name);

}  // namespace tarnwell
