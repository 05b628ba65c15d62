#include "platform/win32/win32_shell_folders.h"

#include "windows_api/windows_api.h"
#include <shlobj.h>

#include <cwchar>

#include "platform/win32/owned.h"
#include "platform/win32/win32_text.h"

namespace tarnwell {

std::string Win32ShellFolders::folder_path(std::int32_t csidl) {
    OwnedTaskMemory items;
    if (::SHGetSpecialFolderLocation(nullptr, csidl,
                                     reinterpret_cast<LPITEMIDLIST*>(items.put())) != S_OK)
        return {};
    // A buffer of 260 blanks with room for the NUL the shell writes at the end.
    wchar_t path[MAX_PATH + 1];
    std::wmemset(path, L' ', MAX_PATH);
    path[MAX_PATH] = L'\0';
    if (!::SHGetPathFromIDListW(static_cast<LPCITEMIDLIST>(items.get()), path)) return {};
    return narrow(std::wstring_view(path, wcsnlen(path, MAX_PATH)));
}

}  // namespace tarnwell
