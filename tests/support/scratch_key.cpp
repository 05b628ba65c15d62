#include "support/scratch_key.h"

#include <atomic>
#include <random>
#include <stdexcept>
#include <string>

#if defined(_WIN32)
#include <process.h>
#define tarnwell_getpid _getpid
#else
#include <unistd.h>
#define tarnwell_getpid getpid
#endif

#include "registry/reg_key.h"

namespace tarnwell::test {

namespace {

// Deletes the subkey `name` of an open key and everything below it, opening each level
// relative to its parent so that no path grows past what the registry accepts. A
// registry link goes itself; the key it leads to stays.
void delete_below(RegistryApi& registry, reg_key parent, const std::string& name) {
    RegKey key(registry);
    if (key.open_link(parent, name, reg::key_all_access) != reg::success) return;
    std::string child;
    while (key.enum_subkey(0, child) == reg::success) {
        delete_below(registry, key.handle(), child);
        // A child that could not be deleted would be listed first again forever.
        if (RegKey(registry).open_link(key.handle(), child, reg::key_read) == reg::success)
            break;
    }
    (void)key.delete_key("");  // the caller's loop sees a key that stayed
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
    if (const Status made = RegKey(registry_).create(reg::current_user, sub_key_); !made.ok())
        throw std::runtime_error("the scratch key " + path_ + " could not be made: error " +
                                 std::to_string(made.code()));
}

ScratchKey::~ScratchKey() { delete_tree(registry_, reg::current_user, sub_key_); }

}  // namespace tarnwell::test
