#pragma once
// Little-endian integers as the definitions file stores them, read from any address
// whatever the byte order of the machine.
#include <cstdint>

namespace tarnwell {

inline std::uint16_t read_u16_le(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

inline std::int32_t read_i32_le(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    const std::uint32_t u = static_cast<std::uint32_t>(b[0]) |
                            (static_cast<std::uint32_t>(b[1]) << 8) |
                            (static_cast<std::uint32_t>(b[2]) << 16) |
                            (static_cast<std::uint32_t>(b[3]) << 24);
    return static_cast<std::int32_t>(u);
}

}  // namespace tarnwell
