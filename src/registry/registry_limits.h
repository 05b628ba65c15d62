#pragma once
// The fixed sizes the registry code works with, in one place.
#include <cstddef>
#include <cstdint>

namespace tarnwell::registry_limits {

// The buffer the class's fixed-size reads prepare: 255 characters for a name, 255 bytes
// for the data of a text read with ReadString.
constexpr std::uint32_t fixed_buffer = 255;

// Windows' limit on the length of a value name, in characters.
constexpr std::uint32_t longest_value_name = 16383;

// The class's hex texts are counted in a signed 16-bit number: StrToBin and BinToStr
// raise an overflow beyond this many characters.
constexpr std::size_t longest_hex_text = 32767;

// Windows keeps keys at most 512 levels deep. An export that goes deeper below its key
// follows a registry link back to a key above it, and would never end.
constexpr int deepest_key_level = 512;

}  // namespace tarnwell::registry_limits
