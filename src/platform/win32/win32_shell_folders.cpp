#include "platform/win32/win32_shell_folders.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace tarnwell {

long Win32ShellFolders::SHGetSpecialFolderLocation(std::int32_t csidl, item_id_list* list) {
    LPITEMIDLIST items = nullptr;
    const HRESULT result = ::SHGetSpecialFolderLocation(nullptr, csidl, &items);
    *list = items;
    return static_cast<long>(result);
}

int Win32ShellFolders::SHGetPathFromIDListA(item_id_list list, char* path) {
    return ::SHGetPathFromIDListA(static_cast<LPCITEMIDLIST>(list), path) ? 1 : 0;
}

void Win32ShellFolders::CoTaskMemFree(item_id_list list) { ::CoTaskMemFree(list); }

}  // namespace tarnwell
