#pragma once
// A scratch registry key for one test, and the removal of a key tree.
#include <string>

#include "platform/registry_api.h"

namespace tarnwell::test {

// A scratch registry key under HKEY_CURRENT_USER\Software for one test, as a key path
// ("HKCU\Software\tarnwell-test-<n>"); removed with everything below it at the end.
class ScratchKey {
public:
    explicit ScratchKey(RegistryApi& registry);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    const std::string& path() const { return path_; }        // "HKCU\Software\..."
    const std::string& sub_key() const { return sub_key_; }  // "Software\..."

private:
    RegistryApi& registry_;
    std::string sub_key_;
    std::string path_;
};

// Deletes a key and everything below it through the registry interface.
void delete_tree(RegistryApi& registry, reg_key root, const std::string& sub_key);

}  // namespace tarnwell::test
