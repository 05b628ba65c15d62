#include "probes/value_as_text.h"

#include <cstdint>

#include "common/text.h"
#include "registry/hex_codec.h"

namespace tarnwell {

namespace {

constexpr std::uint32_t type_dword_big_endian = 5;
constexpr std::uint32_t type_qword = 11;

// The bytes as an unsigned number, the first byte the least significant unless
// `big_endian`.
std::uint64_t number_of(const std::string& bytes, bool big_endian) {
    std::uint64_t number = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::size_t at = big_endian ? i : bytes.size() - 1 - i;
        number = (number << 8) | static_cast<unsigned char>(bytes[at]);
    }
    return number;
}

}  // namespace

std::string value_as_text(const RegValueEntry& value) {
    if (reg::is_text_type(value.type)) return std::string(without_final_nul(value.data));
    const std::size_t size = value.data.size();
    if ((value.type == reg::type_dword && size == 4) || (value.type == type_qword && size == 8))
        return std::to_string(number_of(value.data, false));
    if (value.type == type_dword_big_endian && size == 4)
        return std::to_string(number_of(value.data, true));
    return hex_pairs(value.data, ' ');
}

}  // namespace tarnwell
