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
    Win32Platform() = default;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Platform& platform() { return platform_; }

    Win32Registry registry;
    Win32FileSystem files;
    Win32ShellFolders shell;
    Win32Desktop desktop;
    Win32SupportLibrary support;
    Win32Registry registry_32{RegistryView::bits32};
    Win32Registry registry_64{RegistryView::bits64};

private:
    Platform platform_{registry, files, shell, desktop, support, registry_32, registry_64};
};

inline HostTwin* twin_of(Win32Platform&) { return nullptr; }

inline std::string file_layer_path(Win32Platform&, const std::string& local_path) {
    return local_path;
}

}  // namespace tarnwell
