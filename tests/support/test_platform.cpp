#include "support/test_platform.h"

#include <atomic>
#include <vector>

#if defined(_WIN32)
#include <process.h>
#define tarnwell_getpid _getpid
#else
#include <unistd.h>
#define tarnwell_getpid getpid
#endif

#if defined(_WIN32)
#include "platform/win32/win32_platform.h"
#else
#include "platform/host/host_platform.h"
#endif

namespace tarnwell::test {

#if defined(_WIN32)
struct TestPlatform::Parts {
    Win32Platform real;
    Platform platform = real.platform();
};
TestPlatform::TestPlatform() : parts_(new Parts), platform_(&parts_->platform), twin_(nullptr) {}
#else
struct TestPlatform::Parts {
    HostTwin twin;
    Platform platform = twin.platform();
};
TestPlatform::TestPlatform()
    : parts_(new Parts), platform_(&parts_->platform), twin_(&parts_->twin) {}
#endif

TestPlatform::~TestPlatform() { delete parts_; }

void delete_tree(RegistryApi& registry, reg_key root, const std::string& sub_key) {
    reg_key key = 0;
    if (registry.RegOpenKeyExA(root, sub_key.c_str(), reg::key_all_access, &key) != reg::success)
        return;
    std::vector<std::string> children;
    for (std::uint32_t i = 0;; ++i) {
        char name[256];
        std::uint32_t size = sizeof name;
        if (registry.RegEnumKeyExA(key, i, name, &size) != reg::success) break;
        children.emplace_back(name, size);
    }
    registry.RegCloseKey(key);
    for (const std::string& child : children) delete_tree(registry, root, sub_key + "\\" + child);
    registry.RegDeleteKeyA(root, sub_key.c_str());
}

ScratchKey::ScratchKey(RegistryApi& registry) : registry_(registry) {
    static std::atomic<int> counter{0};
    sub_key_ = "Software\\tarnwell-test-" + std::to_string(tarnwell_getpid()) + "-" +
               std::to_string(counter++);
    path_ = "HKCU\\" + sub_key_;
    delete_tree(registry_, reg::current_user, sub_key_);
    reg_key key = 0;
    if (registry_.RegCreateKeyA(reg::current_user, sub_key_.c_str(), &key) == reg::success)
        registry_.RegCloseKey(key);
}

ScratchKey::~ScratchKey() { delete_tree(registry_, reg::current_user, sub_key_); }

}  // namespace tarnwell::test
