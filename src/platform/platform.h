#pragma once
// The platform facilities, handed to the code above the platform layer together, and
// the one platform each build runs on: Windows' own calls in the Windows builds, the
// host twin on Linux. `SystemPlatform system; system.platform()` is how code gets one.
#include <string>

#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/registry_api.h"
#include "platform/shell_folders.h"
#include "platform/support_library.h"

namespace tarnwell {

struct Platform {
    RegistryApi& registry;  // in the program's own view
    FileSystem& files;
    ShellFolders& shell;
    Desktop& desktop;
    SupportLibrary& support;
    RegistryApi& registry_32;  // the 32-bit view, whatever the program is
    RegistryApi& registry_64;  // the 64-bit view, whatever the program is
};

inline RegistryApi& registry_in(Platform& platform, RegistryView view) {
    switch (view) {
    case RegistryView::bits32:
        return platform.registry_32;
    case RegistryView::bits64:
        return platform.registry_64;
    case RegistryView::own:
        break;
    }
    return platform.registry;
}

class HostTwin;
class Win32Platform;
#if defined(_WIN32)
using SystemPlatform = Win32Platform;
#else
using SystemPlatform = HostTwin;
#endif

// The twin's set-up for tests (a read-only key, a missing support library); null where
// the platform is Windows itself.
HostTwin* twin_of(SystemPlatform& system);

// A file named by a path of the machine the program runs on (as on a command line), as
// a path of the platform's file layer: as it is on Windows; on the twin, a path on its
// drive Z:, which is the Linux root as under Wine.
std::string file_layer_path(SystemPlatform& system, const std::string& local_path);

// For programs, first thing at start: from then on every DLL the process loads by name
// (its own loads, and the libraries Windows loads for it) comes from the system folder
// or the program's own folder only; nothing to do on the twin. A DLL must not call it:
// it would change the search of whatever program loaded it.
void restrict_dll_search();

}  // namespace tarnwell
