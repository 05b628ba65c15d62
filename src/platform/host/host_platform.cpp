#include "platform/host/host_platform.h"

#include <atomic>
#include <string>
#include <system_error>

#include <unistd.h>

namespace tarnwell {

namespace {
std::filesystem::path new_root() {
    static std::atomic<int> counter{0};
    auto root = std::filesystem::temp_directory_path() /
                ("tarnwell-twin-" + std::to_string(::getpid()) + "-" +
                 std::to_string(counter++));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    return root;
}
}  // namespace

HostTwin::HostTwin() : root(new_root()), files(root), support(files) {}

HostTwin::~HostTwin() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

}  // namespace tarnwell
