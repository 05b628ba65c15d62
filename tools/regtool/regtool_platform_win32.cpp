#include "regtool_platform.h"

#include "platform/win32/win32_platform.h"

namespace tarnwell {

struct RegtoolPlatform::Parts {
    Win32Platform real;
};

RegtoolPlatform::RegtoolPlatform() : parts_(new Parts) {}
RegtoolPlatform::~RegtoolPlatform() = default;

RegistryApi& RegtoolPlatform::registry() { return parts_->real.registry; }
FileSystem& RegtoolPlatform::files() { return parts_->real.files; }
Desktop& RegtoolPlatform::desktop() { return parts_->real.desktop; }

std::string RegtoolPlatform::file_path(const std::string& argument) const { return argument; }

}  // namespace tarnwell
