#pragma once
// The shell's special-folder lookup on Windows: shell32 and ole32.
#include "platform/shell_folders.h"

namespace tarnwell {

class Win32ShellFolders : public ShellFolders {
public:
    std::string folder_path(std::int32_t csidl) override;
};

}  // namespace tarnwell
