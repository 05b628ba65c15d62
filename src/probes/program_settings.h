#pragma once
// The per-user program settings tree HKEY_CURRENT_USER\Software\VB and VBA Program
// Settings, where the suite's applications keep one key per application and section
// and one text value per setting.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/status.h"
#include "platform/registry_api.h"

namespace tarnwell {

// The path of the program settings tree below HKEY_CURRENT_USER.
extern const char* const program_settings_tree;

// One setting as text whatever its type (value_as_text), untrimmed; file_not_found when
// the section or the value is missing, the registry's failure when it failed the read.
Result<std::string> program_setting(RegistryApi& registry, const std::string& app_name,
                                    const std::string& section, const std::string& key);

// Every value of one section ("application\section"), as the settings store reads them.
struct SectionSettings {
    // How many values the section's key said it holds; 0 when it cannot be opened.
    std::uint32_t value_count = 0;
    // Why the section's key could not be opened, when the registry failed the open;
    // success when it opened or is not there.
    Status failure;
    // Name and data (each up to its first NUL) of each value whose name is not blank,
    // in registry order; never more than value_count.
    std::vector<std::array<std::string, 2>> settings;
};
SectionSettings read_section_settings(RegistryApi& registry, const std::string& section);

}  // namespace tarnwell
