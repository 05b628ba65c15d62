#pragma once
// The shell's special-folder lookup: SHGetSpecialFolderLocation, SHGetPathFromIDListA
// into a buffer of 260 characters, and CoTaskMemFree for the item-id list.
#include <cstdint>
#include <string>

namespace tarnwell {

class ShellFolders {
public:
    virtual ~ShellFolders() = default;
    // The folder's path, up to the first NUL the shell wrote; "" when the shell rejects
    // the id or the folder has no file-system path (a virtual folder).
    virtual std::string folder_path(std::int32_t csidl) = 0;
};

}  // namespace tarnwell
