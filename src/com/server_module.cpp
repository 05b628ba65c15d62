#include "com/server_module.h"

#include <atomic>

#include "platform/win32/module_path.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace tarnwell::com {

namespace {

std::atomic<long> live_objects{0};
std::atomic<long> server_locks{0};

}  // namespace

HMODULE this_module() { return reinterpret_cast<HMODULE>(&__ImageBase); }

std::wstring module_file_name() { return module_path(this_module()); }

void object_created() { ++live_objects; }
void object_destroyed() { --live_objects; }
void lock_server(bool lock) {
    if (lock)
        ++server_locks;
    else
        --server_locks;
}
bool can_unload() { return live_objects == 0 && server_locks == 0; }

}  // namespace tarnwell::com
