#pragma once
// The line handling of the REGEDIT4 import, apart from the file the text comes from.
#include <cstdint>
#include <string>

#include "platform/registry_api.h"
#include "registry/reg_file_report.h"

namespace tarnwell {

// Applies the text of a REGEDIT4 file to the registry: values are written and deleted as
// the class's write and delete members do with CreateKeyIfDoesntExists set, one key
// block at a time, and "[-key]" lines delete keys that have no subkeys. Returns 1 when
// the text was processed to its end; 0, with nothing changed, when its first line is
// not "REGEDIT4" (in any letter case, nothing around it) or its lines end in LF alone;
// 0 when a line stops the import (a key line without a key, a number too large for 32
// bits), the changes made before that line staying.
// `report` learns why it returned 0 and which single writes and deletes failed.
std::int32_t apply_reg_text(RegistryApi& api, const std::string& text, RegFileReport& report);

}  // namespace tarnwell
