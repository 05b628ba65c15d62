// In a file of its own, so that only a program that calls it links it: the component
// links the platform too, and a DLL must not change its host's DLL search.
#include "windows_api/windows_api.h"

#include "platform/platform.h"

namespace tarnwell {

void restrict_dll_search() {
    // Fails only for flags it does not know; the loads of dll_search.h name their
    // folders themselves and do not rely on it.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
}

}  // namespace tarnwell
