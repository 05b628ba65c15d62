#pragma once
// Lists every value of one section of the per-user program settings tree.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry_api.h"

namespace tarnwell {

// Reads the values of HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<chnode>
// (chnode is "application\section") in registry order. chCurKey becomes one row per
// value the key holds; the rows filled hold name and data as text, values whose name
// is blank are skipped. Returns the number of rows filled. A missing section or one
// without values gives 0 and leaves chCurKey as it was.
std::int32_t GetAllSettingValue(RegistryApi& registry, const std::string& chnode,
                                std::vector<std::array<std::string, 2>>& chCurKey);

}  // namespace tarnwell
