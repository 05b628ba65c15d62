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

    // Test set-up: the path an id resolves to; an empty path makes it a virtual
    // folder (no file-system path); remove() makes the shell reject the id. Paths of
    // 260 characters or more do not fit the shell's buffer and give "" too.
    void set(std::int32_t csidl, const std::string& path) { folders_[csidl] = path; }
    void remove(std::int32_t csidl) { folders_.erase(csidl); }

private:
    std::map<std::int32_t, std::string> folders_;
};

}  // namespace tarnwell
