#include "support/test_platform.h"

#include <atomic>
#include <random>
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

namespace {

// Deletes the subkey `name` of an open key and everything below it, opening each level
// relative to its parent so that no path grows past what the registry accepts.
void delete_below(RegistryApi& registry, reg_key parent, const std::string& name) {
    reg_key key = 0;
    if (registry.open_key(parent, name.c_str(), reg::key_all_access, &key) != reg::success) return;
    for (;;) {
        char child[512];
        std::uint32_t size = sizeof child;
        if (registry.enum_subkey(key, 0, child, &size) != reg::success) break;
        const std::string child_name(child, size);
        delete_below(registry, key, child_name);
        // A child that could not be deleted would be listed first again forever.
        reg_key still_there = 0;
        if (registry.open_key(key, child_name.c_str(), reg::key_read, &still_there) ==
            reg::success) {
            registry.close_key(still_there);
            break;
        }
    }
    registry.close_key(key);
    registry.delete_key(parent, name.c_str());
}

}  // namespace

void delete_tree(RegistryApi& registry, reg_key root, const std::string& sub_key) {
    delete_below(registry, root, sub_key);
}

ScratchKey::ScratchKey(RegistryApi& registry) : registry_(registry) {
    static std::atomic<int> counter{0};
    // Wine gives the first process the same id every run, so a random part keeps the
    // scratch keys of different runs apart.
    static const unsigned run = std::random_device{}();
    sub_key_ = "Software\\tarnwell-test-" + std::to_string(tarnwell_getpid()) + "-" +
               std::to_string(run) + "-" + std::to_string(counter++);
    path_ = "HKCU\\" + sub_key_;
    delete_tree(registry_, reg::current_user, sub_key_);
    reg_key key = 0;
    if (registry_.create_key(reg::current_user, sub_key_.c_str(), &key) == reg::success)
        registry_.close_key(key);
}

ScratchKey::~ScratchKey() { delete_tree(registry_, reg::current_user, sub_key_); }

}  // namespace tarnwell::test
