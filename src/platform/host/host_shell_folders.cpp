#include "platform/host/host_shell_folders.h"

#include <cstring>

namespace tarnwell {

namespace {
constexpr long e_invalidarg = static_cast<long>(0x80070057u);
}

HostShellFolders::HostShellFolders() {
    folders_[28] = "C:\\users\\tester\\AppData\\Local";  // local application data
    folders_[0x11] = "";                                 // "My Computer": no file-system path
}

long HostShellFolders::folder_item_list(std::int32_t csidl, item_id_list* list) {
    const auto found = folders_.find(csidl);
    if (found == folders_.end()) return e_invalidarg;
    *list = new std::string(found->second);
    ++outstanding_;
    return 0;
}

int HostShellFolders::path_of_item_list(item_id_list list, char* path) {
    const auto* text = static_cast<const std::string*>(list);
    if (text->empty() || text->size() >= 260) return 0;
    std::memcpy(path, text->c_str(), text->size() + 1);
    return 1;
}

void HostShellFolders::free_item_list(item_id_list list) {
    if (list == nullptr) return;
    delete static_cast<std::string*>(list);
    --outstanding_;
}

}  // namespace tarnwell
