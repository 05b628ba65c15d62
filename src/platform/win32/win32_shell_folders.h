#pragma once
// The shell's special-folder lookup on Windows: shell32 and ole32.
#include "platform/shell_folders.h"

namespace tarnwell {

class Win32ShellFolders : public ShellFolders {
public:
    long folder_item_list(std::int32_t csidl, item_id_list* list) override;
    int path_of_item_list(item_id_list list, char* path) override;
    void free_item_list(item_id_list list) override;
};

}  // namespace tarnwell
