#pragma once
// What the registry tests ask of the host twin beyond the registry interface: the
// number of handles left open, and a key whose security allows only reading. Under
// Windows the tests run against the real registry, where neither is available.
#include <cstddef>
#include <string>

#include "platform/system_platform.h"
#include "support/scratch_key.h"

#if !defined(_WIN32)
#include "platform/host/host_platform.h"
#endif

namespace tarnwell::test {

// Handles the code under test left open; 0 under Windows, where they cannot be counted.
inline std::size_t open_handles(SystemPlatform& tp) {
#if defined(_WIN32)
    (void)tp;
    return 0;
#else
    return twin_of(tp)->registry.open_handles();
#endif
}

// Marks an existing key read-only; false when the platform cannot (Windows).
inline bool set_read_only(SystemPlatform& tp, reg_key root, const std::string& sub_key,
                          bool read_only) {
#if defined(_WIN32)
    (void)tp, (void)root, (void)sub_key, (void)read_only;
    return false;
#else
    twin_of(tp)->registry.set_read_only(root, sub_key, read_only);
    return true;
#endif
}

}  // namespace tarnwell::test
