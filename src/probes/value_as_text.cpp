#include "probes/value_as_text.h"

#include <algorithm>
#include <cstdint>

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

// The texts of a multi-text up to the first empty one, a line feed between them.
std::string multi_text(const std::string& data) {
    std::string texts;
    for (std::size_t start = 0; start < data.size();) {
        const std::size_t end = std::min(data.find('\0', start), data.size());
        if (end == start) break;
        if (!texts.empty()) texts += '\n';
        texts.append(data, start, end - start);
        start = end + 1;
    }
    return texts;
}

}  // namespace

std::string value_as_text(const RegValueEntry& value) {
    if (value.type == reg::type_multi_sz) return multi_text(value.data);
    if (reg::is_text_type(value.type)) return value.data.substr(0, value.data.find('\0'));
    const std::size_t size = value.data.size();
    if ((value.type == reg::type_dword && size == 4) || (value.type == type_qword && size == 8))
        return std::to_string(number_of(value.data, false));
    if (value.type == type_dword_big_endian && size == 4)
        return std::to_string(number_of(value.data, true));
    return hex_pairs(value.data, ' ');
}

Result<std::string> read_value_as_text(RegistryApi& registry, reg_key root,
                                       const std::string& sub_key, const std::string& name) {
    RegKey key(registry);
    if (const Status opened = key.open(root, sub_key, reg::key_read); !opened.ok()) return opened;
    RegValueEntry value;
    if (const Status read = key.read_value(name, value); !read.ok()) return read;
    return value_as_text(value);
}

}  // namespace tarnwell
