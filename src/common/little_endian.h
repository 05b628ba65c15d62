#pragma once
// Little-endian integers as files and the registry store them (least significant byte
// first), read from and written to any address whatever the byte order of the machine.
#include <cstdint>
#include <string>

namespace tarnwell {

inline std::uint16_t read_u16_le(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

inline std::uint32_t read_u32_le(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

inline std::int32_t read_i32_le(const char* p) {
    return static_cast<std::int32_t>(read_u32_le(p));
}

// The four bytes of a 32-bit number, one character per byte.
inline std::string u32_le_bytes(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

}  // namespace tarnwell
