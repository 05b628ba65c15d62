#pragma once
// Where DLLs loaded by name may come from. Windows' default search also looks in the
// current folder and the folders of PATH, where anyone may leave a DLL of the name
// asked for; a program started from a Downloads folder or a share would then run it.
// restrict_dll_search (platform.h) makes the process's own search so, for programs.
#include "windows_api/windows_api.h"

namespace tarnwell {

// A library of Windows (riched20.dll, ...) from the system folder and nowhere else;
// its own dependencies come from there too. nullptr when it cannot be loaded.
HMODULE load_system_library(const char* name);

// The DLL of that name in the program's own folder, loaded by full path; its own
// dependencies come from that folder or the system folder. nullptr when it is not
// there or cannot be loaded.
HMODULE load_library_beside_program(const char* name);

}  // namespace tarnwell
