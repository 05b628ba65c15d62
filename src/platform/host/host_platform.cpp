#include "platform/host/host_platform.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <system_error>

namespace tarnwell {

namespace fs = std::filesystem;

namespace {

fs::path new_root() {
    static std::atomic<int> counter{0};
    const char* run_folder = std::getenv("TARNWELL_TWIN_ROOT");
    const fs::path parent = run_folder != nullptr && *run_folder != '\0'
                                ? fs::path(run_folder)
                                : fs::temp_directory_path();
    const fs::path root =
        parent / ("tarnwell-twin-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(root);
    fs::create_directories(root);
    return root;
}

}  // namespace

HostTwin::HostTwin() : root(new_root()), files(root), support(files) {}

HostTwin::~HostTwin() {
    std::error_code ec;
    // The link goes first, so that removing the folder cannot reach the Linux root.
    if (!linked_drive_.empty()) fs::remove(linked_drive_, ec);
    if (!ec) fs::remove_all(root, ec);
}

std::string HostTwin::linux_file(const std::string& linux_path) {
    if (linked_drive_.empty()) {
        linked_drive_ = root / "z";
        fs::create_directory_symlink("/", linked_drive_);
    }
    std::error_code ec;
    const fs::path absolute = fs::absolute(linux_path, ec);
    return "Z:" + (ec ? linux_path : absolute.string());
}

void restrict_dll_search() {}

}  // namespace tarnwell
