#pragma once
// The fixed sizes the registry code works with, in one place.
#include <cstddef>
#include <cstdint>

namespace tarnwell::registry_limits {

// Windows' limit on the length of a value name, in characters.
constexpr std::uint32_t longest_value_name = 16383;

// Windows keeps keys at most 512 levels deep. An export that goes deeper below its key
// follows a registry link back to a key above it, and would never end.
constexpr int deepest_key_level = 512;

}  // namespace tarnwell::registry_limits
