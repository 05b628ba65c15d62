#include "platform/win32/dll_search.h"

#include <string>

#include "platform/win32/module_path.h"
#include "platform/win32/win32_text.h"

namespace tarnwell {

HMODULE load_system_library(const char* name) {
    return LoadLibraryExW(wide(name).c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE load_library_beside_program(const char* name) {
    const std::wstring program = module_path(nullptr);
    const std::wstring::size_type folder_end = program.find_last_of(L'\\');
    if (folder_end == std::wstring::npos) return nullptr;
    std::wstring path = program.substr(0, folder_end + 1);
    path += wide(name);
    return LoadLibraryExW(path.c_str(), nullptr,
                          LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace tarnwell
