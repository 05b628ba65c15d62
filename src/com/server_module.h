#pragma once
// The component's DLL as a whole: its module handle and file name, and the counts that
// tell COM whether the DLL may be unloaded (live objects and server locks).
#include "windows_api/windows_api.h"
#include <ole2.h>

#include <string>

namespace tarnwell::com {

HMODULE this_module();
// The DLL's full file name.
std::wstring module_file_name();

void object_created();
void object_destroyed();
void lock_server(bool lock);
// True when no object lives and no client holds a server lock.
bool can_unload();

}  // namespace tarnwell::com
