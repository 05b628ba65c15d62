#pragma once
// The registry access class on the real registry, files and desktop.
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "registry/clsRegistryAccess.h"

namespace tarnwell::com {

struct RealRegistryAccess {
    Win32Registry registry;
    Win32FileSystem files;
    Win32Desktop desktop;
    clsRegistryAccess access{registry, files, desktop};
};

}  // namespace tarnwell::com
