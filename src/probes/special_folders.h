#pragma once
// Resolves a shell special-folder id to a path.
#include <cstdint>
#include <string>

#include "platform/shell_folders.h"

namespace tarnwell {

// The folder's full path, or "" when the shell cannot resolve the id or the folder has
// no file-system path. Never an error.
std::string GetSpecialFolderLocation(ShellFolders& shell, std::int32_t CSIDL);

}  // namespace tarnwell
