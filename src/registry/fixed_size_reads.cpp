#include "registry/fixed_size_reads.h"

#include "common/text.h"
#include "registry/reg_key.h"

namespace tarnwell {

Status open_with_full_access(RegistryApi& registry, reg_key root, const std::string& sub_key) {
    RegKey key(registry);
    return key.open(root, sub_key, reg::key_all_access);
}

Result<std::string> read_fixed_size_text(RegistryApi& registry, reg_key root,
                                         const std::string& sub_key, const std::string& name) {
    RegKey key(registry);
    if (const Status opened = key.open(root, sub_key, reg::key_read); !opened.ok()) return opened;
    std::string buffer(fixed_text_bytes, ' ');
    std::uint32_t size = fixed_text_bytes;
    if (const Status queried =
            key.query_value(name, nullptr, reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
        !queried.ok())
        return queried;
    // Leading and trailing spaces are the text's own.
    return std::string(without_final_nul(std::string_view(buffer.data(), size)));
}

}  // namespace tarnwell
