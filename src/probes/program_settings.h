#pragma once
// Reads one value of the per-user program settings tree
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>.
#include <string>

#include "platform/registry_api.h"

namespace tarnwell {

// The path of the program settings tree below HKEY_CURRENT_USER.
extern const char* const program_settings_tree;

// The stored text of the setting, up to its first NUL and untrimmed, or default_text
// when the section or the value is missing.
std::string GetSetting(RegistryApi& registry, const std::string& app_name,
                       const std::string& section, const std::string& key,
                       const std::string& default_text);

}  // namespace tarnwell
