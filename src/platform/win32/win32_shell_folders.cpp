#include "platform/win32/win32_shell_folders.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

namespace tarnwell {

long Win32ShellFolders::folder_item_list(std::int32_t csidl, item_id_list* list) {
    LPITEMIDLIST items = nullptr;
    const HRESULT result = ::SHGetSpecialFolderLocation(nullptr, csidl, &items);
    *list = items;
    return static_cast<long>(result);
}

int Win32ShellFolders::path_of_item_list(item_id_list list, char* path) {
    return ::SHGetPathFromIDListA(static_cast<LPCITEMIDLIST>(list), path) ? 1 : 0;
}

void Win32ShellFolders::free_item_list(item_id_list list) { ::CoTaskMemFree(list); }

}  // namespace tarnwell
