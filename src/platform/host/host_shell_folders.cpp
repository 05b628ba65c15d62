#include "platform/host/host_shell_folders.h"

namespace tarnwell {

HostShellFolders::HostShellFolders() {
    folders_[28] = "C:\\users\\tester\\AppData\\Local";  // local application data
    folders_[0x11] = "";                                 // "My Computer": no file-system path
}

std::string HostShellFolders::folder_path(std::int32_t csidl) {
    const auto found = folders_.find(csidl);
    return found != folders_.end() ? found->second : std::string();
}

}  // namespace tarnwell
