#pragma once
// The platform facilities, handed to the code above the platform layer together.
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/registry_api.h"
#include "platform/shell_folders.h"
#include "platform/support_library.h"

namespace tarnwell {

struct Platform {
    RegistryApi& registry;
    FileSystem& files;
    ShellFolders& shell;
    Desktop& desktop;
    SupportLibrary& support;
};

}  // namespace tarnwell
