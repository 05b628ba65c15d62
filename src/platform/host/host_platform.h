#pragma once
// The whole host twin: registry, file system under a folder of its own, shell folders,
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
    // The file system lives in a new folder, removed again with the twin: below the
    // folder TARNWELL_TWIN_ROOT names (a test run clears it at its start and end, so
    // that a run killed at a timeout leaves nothing behind for long), else below the
    // system's temporary folder.
    HostTwin();
    ~HostTwin();
    HostTwin(const HostTwin&) = delete;
    HostTwin& operator=(const HostTwin&) = delete;

    Platform& platform() { return platform_; }
    // The Windows path (on drive Z:, made a link to the Linux root on first use, as
    // Wine's drive Z: is) that reaches a file by its Linux path.
    std::string linux_file(const std::string& linux_path);

    std::filesystem::path root;
    HostRegistry registry;
    HostFileSystem files;
    HostShellFolders shell;
    HostDesktop desktop;
    HostSupportLibrary support;
    // The same registry in each view; the twin's own is the 64-bit one.
    HostRegistry registry_32{registry, RegistryView::bits32};
    HostRegistry registry_64{registry, RegistryView::bits64};

private:
    Platform platform_{registry, files, shell, desktop, support, registry_32, registry_64};
    std::filesystem::path linked_drive_;
};

inline HostTwin* twin_of(HostTwin& system) { return &system; }

inline std::string file_layer_path(HostTwin& system, const std::string& local_path) {
    return system.linux_file(local_path);
}

}  // namespace tarnwell
