#pragma once
// The line handling of the REGEDIT4 import, apart from the file the text comes from.
#include <cstdint>
#include <string>

#include "platform/registry_api.h"

namespace tarnwell {

class clsRegistryAccess;

// Applies the text of a REGEDIT4 file to the registry that `registry` works on (`api`):
// values are written and deleted as the class's write and delete operations do, one
// key block at a time, and "[-key]" lines go to KillKey. Returns 0 when the first
// line is not "REGEDIT4" (in any letter case, nothing around it), 1 when the text was
// processed to its end. A malformed key line or a number too large for 32 bits raises
// run_time_error; the changes made before it stay.
std::int32_t apply_reg_text(clsRegistryAccess& registry, RegistryApi& api,
                            const std::string& text);

}  // namespace tarnwell
