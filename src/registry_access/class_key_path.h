#pragma once
// clsRegistryAccess's own reading of key paths, kept as the class publishes it over the
// strict reading of the registry core (registry/key_path.h).
#include <string>

#include "registry/key_path.h"

namespace tarnwell {

// ParseKeyPath: a long root name at the start of the path (after one optional
// backslash) stands for its abbreviation; the root is then the first four characters,
// in any letter case (the whole path when it has no backslash), and 0 when they name no
// known root; the subkey is everything after the first backslash, unchanged. So
// "HKCUX\a" is HKCU with "a", and "\HKCU\a" is root 0 with "HKCU\a". The text itself is
// never refused: an unknown root gives 0, and the registry call that follows fails.
KeyPath class_key_path(const std::string& path);

// The same reading in the form the import takes for its key lines; it never fails.
Result<KeyPath> class_key_path_reading(const std::string& path);

// The path that the core's export reads as the class reads `path` (ExportToReg expands
// an abbreviated root before it reads the path): the path itself when the core reads it
// alike, otherwise the path written with its root's long name, so that the file names
// the key exported. A path whose root the class does not know comes back as it is.
std::string class_export_path(const std::string& path);

}  // namespace tarnwell
