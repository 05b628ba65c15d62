#pragma once
// The host twin of the shell's special-folder lookup: a table of ids and paths.
#include <map>
#include <string>

#include "platform/shell_folders.h"

namespace tarnwell {

class HostShellFolders : public ShellFolders {
public:
    HostShellFolders();

    std::string folder_path(std::int32_t csidl) override;

    // Test set-up: the shell rejects the id from now on.
    void remove(std::int32_t csidl) { folders_.erase(csidl); }

private:
    std::map<std::int32_t, std::string> folders_;
};

}  // namespace tarnwell
