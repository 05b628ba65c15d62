#pragma once
// Registry statuses and value types in words, for messages that name what failed.
#include <cstdint>
#include <string>

#include "common/status.h"

namespace tarnwell {

// "Windows error 5 (access denied)"; the number alone for a status without a name here.
std::string registry_error_text(const Status& status);

// "expandable text", "multi-text", "64-bit number", ...; "type N" for the rest.
std::string value_type_name(std::uint32_t type);

}  // namespace tarnwell
