#pragma once
// Where a loaded module's file is.
#include "windows_api/windows_api.h"

#include <string>

namespace tarnwell {

// The full path of the module's file (nullptr: the program's own .exe), however long;
// empty if Windows cannot tell.
std::wstring module_path(HMODULE module);

}  // namespace tarnwell
