#pragma once
// The platform the tests run against: on Linux the host twin, in the Windows builds
// (run under Wine) the real Windows calls. Contract tests use only the interfaces;
// tests that need to prepare a state the interfaces cannot make (a read-only key, a
// missing support library) ask twin() and skip where it is null.
#include <memory>
#include <string>

#include "platform/platform.h"

namespace tarnwell {
class HostTwin;
}

namespace tarnwell::test {

// A platform for one test: on the host a fresh twin (empty registry, empty file
// system, recording desktop); under Windows the real calls.
class TestPlatform {
public:
    TestPlatform();
    ~TestPlatform();
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    Platform& platform() { return *platform_; }
    // The host twin, for set-up the interfaces cannot make; null under Windows.
    HostTwin* twin() { return twin_; }

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    Platform* platform_;
    HostTwin* twin_;
};

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
