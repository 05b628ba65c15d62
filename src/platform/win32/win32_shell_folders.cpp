#include "platform/win32/win32_shell_folders.h"

#include <shlobj.h>

#include <cstring>

#include "platform/win32/owned.h"

namespace tarnwell {

std::string Win32ShellFolders::folder_path(std::int32_t csidl) {
    OwnedTaskMemory items;
    if (::SHGetSpecialFolderLocation(nullptr, csidl,
                                     reinterpret_cast<LPITEMIDLIST*>(items.put())) != S_OK)
        return {};
    // A buffer of 260 blanks with room for the NUL the shell writes at the end.
    char path[MAX_PATH + 1];
    std::memset(path, ' ', MAX_PATH);
    path[MAX_PATH] = '\0';
    if (!::SHGetPathFromIDListA(static_cast<LPCITEMIDLIST>(items.get()), path)) return {};
    return std::string(path, strnlen(path, MAX_PATH));
}

}  // namespace tarnwell
