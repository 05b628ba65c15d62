#include "com/server_module.h"

#include <atomic>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace tarnwell::com {

namespace {

std::atomic<long> live_objects{0};
std::atomic<long> server_locks{0};

}  // namespace

HMODULE this_module() { return reinterpret_cast<HMODULE>(&__ImageBase); }

std::wstring module_file_name() {
    // Paths may be longer than MAX_PATH; grow the buffer until the name fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(this_module(), &name[0], static_cast<DWORD>(name.size()));
        if (length == 0) return std::wstring();
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

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
