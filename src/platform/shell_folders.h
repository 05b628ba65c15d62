#pragma once
// The shell's special-folder lookup: shell32's SHGetSpecialFolderLocation and
// SHGetPathFromIDListA, and ole32's CoTaskMemFree for the item-id list.
#include <cstdint>

namespace tarnwell {

using item_id_list = void*;

class ShellFolders {
public:
    virtual ~ShellFolders() = default;
    // SHGetSpecialFolderLocation with no owner window: 0 on success; the list must
    // then be freed with free_item_list.
    virtual long folder_item_list(std::int32_t csidl, item_id_list* list) = 0;
    // SHGetPathFromIDListA: writes the path, NUL-terminated, into a buffer of 260
    // characters; non-zero on success.
    virtual int path_of_item_list(item_id_list list, char* path) = 0;
    // CoTaskMemFree.
    virtual void free_item_list(item_id_list list) = 0;
};

}  // namespace tarnwell
