#pragma once
// The whole host twin: registry, file system under a temporary root, shell folders,
// desktop and support library, wired together as one Platform.
#include <filesystem>

#include "platform/host/host_desktop.h"
#include "platform/host/host_file_system.h"
#include "platform/host/host_registry.h"
#include "platform/host/host_shell_folders.h"
#include "platform/host/host_support_library.h"
#include "platform/platform.h"

namespace tarnwell {

class HostTwin {
public:
    // The file system lives in a new folder under the system's temporary folder,
    // removed again with the twin.
    HostTwin();
    ~HostTwin();
    HostTwin(const HostTwin&) = delete;
    HostTwin& operator=(const HostTwin&) = delete;

    Platform platform() { return {registry, files, shell, desktop, support}; }

    std::filesystem::path root;
    HostRegistry registry;
    HostFileSystem files;
    HostShellFolders shell;
    HostDesktop desktop;
    HostSupportLibrary support;
};

}  // namespace tarnwell
