#pragma once
// The shell's special-folder lookup: shell32's SHGetSpecialFolderLocation and
// SHGetPathFromIDListA, and ole32's CoTaskMemFree for the item-id list.
#include <cstdint>

namespace tarnwell {

using item_id_list = void*;

class ShellFolders {
public:
    virtual ~ShellFolders() = default;
    // 0 on success; the list must then be freed with CoTaskMemFree.
    virtual long SHGetSpecialFolderLocation(std::int32_t csidl, item_id_list* list) = 0;
    // Writes the path, NUL-terminated, into a buffer of 260 characters; non-zero on
    // success.
    virtual int SHGetPathFromIDListA(item_id_list list, char* path) = 0;
    virtual void CoTaskMemFree(item_id_list list) = 0;
};

}  // namespace tarnwell
