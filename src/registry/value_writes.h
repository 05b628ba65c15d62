#pragma once
// The one way a key is opened for writing values: created first when it is missing and
// the writer may create keys. The class's WriteString, WriteDWORD and WriteBinary and
// the REGEDIT4 import both go through here.
#include <string>

#include "platform/registry_api.h"
#include "registry/key_path.h"
#include "registry/reg_key.h"

namespace tarnwell {

// Opens the key at `path` for writing into `key`: when `create` holds, creating it
// first if it is missing; otherwise only a key the caller may open with full access
// (one that cannot be counts as missing, and nothing is touched).
Status open_for_writing(const KeyPath& path, bool create, RegKey& key);

}  // namespace tarnwell
