#include "platform/win32/module_path.h"

namespace tarnwell {

std::wstring module_path(HMODULE module) {
    // Paths may be longer than MAX_PATH; grow the buffer until the name fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, &name[0], static_cast<DWORD>(name.size()));
        if (length == 0) return std::wstring();
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

}  // namespace tarnwell
