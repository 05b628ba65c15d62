#include "platform/win32/dll_search.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "regtool_platform.h"

namespace tarnwell {

struct RegtoolPlatform::Parts {
    Win32Registry registry;
    Win32FileSystem files;
};

RegtoolPlatform::RegtoolPlatform() : parts_(std::make_unique<Parts>()) { restrict_dll_search(); }
RegtoolPlatform::~RegtoolPlatform() = default;

RegistryApi& RegtoolPlatform::registry() { return parts_->registry; }
FileSystem& RegtoolPlatform::files() { return parts_->files; }

std::string RegtoolPlatform::file_path(const std::string& argument) const { return argument; }

}  // namespace tarnwell
