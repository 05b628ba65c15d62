#include "probes/special_folders.h"

#include <cstring>

namespace tarnwell {

std::string GetSpecialFolderLocation(ShellFolders& shell, std::int32_t CSIDL) {
    item_id_list list = nullptr;
    if (shell.folder_item_list(CSIDL, &list) != 0) return {};

    // A buffer of 260 blanks with room for the NUL the shell writes at the end.
    char path[261];
    std::memset(path, ' ', 260);
    path[260] = '\0';
    std::string result;
    if (shell.path_of_item_list(list, path) != 0) result.assign(path, strnlen(path, 260));
    shell.free_item_list(list);
    return result;
}

}  // namespace tarnwell
