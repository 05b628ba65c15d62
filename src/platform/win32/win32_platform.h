#pragma once
// The real Windows platform, wired together as one Platform.
#include "platform/platform.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell_folders.h"
#include "platform/win32/win32_support_library.h"

namespace tarnwell {

class Win32Platform {
public:
    Platform platform() { return {registry, files, shell, desktop, support}; }

    Win32Registry registry;
    Win32FileSystem files;
    Win32ShellFolders shell;
    Win32Desktop desktop;
    Win32SupportLibrary support;
};

}  // namespace tarnwell
