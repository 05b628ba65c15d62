#pragma once
// Key path notation: "HKCU\Software\T", "HKEY_LOCAL_MACHINE\SOFTWARE",
// "\HKEY_CURRENT_USER\Software": a root name (long, long with one leading backslash, or
// the four-letter abbreviation, in any letter case), then a backslash and the subkey.
#include <string>

#include "platform/registry_api.h"

namespace tarnwell {

// A key path split into its predefined root (0 when the root is unknown) and the
// subkey below it ("" for the root itself).
struct KeyPath {
    reg_key root = 0;
    std::string sub_key;
};

// Splits a key path into its predefined root and its subkey: a long root name at its
// start stands for its abbreviation; the root is then the first four characters (the
// whole path when it has no backslash), 0 when unknown; the subkey is everything after
// the first backslash, unchanged.
KeyPath split_key_path(const std::string& path);

// The path with an abbreviated root written out in full ("hkcu\Software" gives
// "HKEY_CURRENT_USER\Software"). Only the root is expanded: the four letters at the
// start, after one optional backslash, followed by a backslash or the end, so a subkey
// named like "HKCUTools" keeps its name. Any other path comes back as it is.
std::string with_long_root(const std::string& path);

}  // namespace tarnwell
