#pragma once
// The registry and files that regtool works with, and how it turns a file
// named on its command line into a path for them.
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/registry_api.h"

namespace tarnwell {

class RegtoolPlatform {
public:
    RegtoolPlatform();
    ~RegtoolPlatform();
    RegtoolPlatform(const RegtoolPlatform&) = delete;
    RegtoolPlatform& operator=(const RegtoolPlatform&) = delete;

    RegistryApi& registry();
    FileSystem& files();
    std::string file_path(const std::string& argument) const;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace tarnwell
