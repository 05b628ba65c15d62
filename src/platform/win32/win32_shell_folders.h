#pragma once
// The shell's special-folder lookup on Windows: shell32 and ole32.
#include "platform/shell_folders.h"

namespace tarnwell {

class Win32ShellFolders : public ShellFolders {
public:
    long SHGetSpecialFolderLocation(std::int32_t csidl, item_id_list* list) override;
    int SHGetPathFromIDListA(item_id_list list, char* path) override;
    void CoTaskMemFree(item_id_list list) override;
};

}  // namespace tarnwell
