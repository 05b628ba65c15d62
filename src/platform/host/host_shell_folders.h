#pragma once
// The host twin of the shell's special-folder lookup: a table of ids and paths.
#include <map>
#include <string>

#include "platform/shell_folders.h"

namespace tarnwell {

class HostShellFolders : public ShellFolders {
public:
    HostShellFolders();

    long folder_item_list(std::int32_t csidl, item_id_list* list) override;
    int path_of_item_list(item_id_list list, char* path) override;
    void free_item_list(item_id_list list) override;

    // Test set-up: the path an id resolves to; an empty path makes it a virtual
    // folder (the lookup succeeds, the path query fails); remove() makes the shell
    // reject the id.
    void set(std::int32_t csidl, const std::string& path) { folders_[csidl] = path; }
    void remove(std::int32_t csidl) { folders_.erase(csidl); }
    // Item-id lists handed out and not yet freed.
    int outstanding_lists() const { return outstanding_; }

private:
    std::map<std::int32_t, std::string> folders_;
    int outstanding_ = 0;
};

}  // namespace tarnwell
