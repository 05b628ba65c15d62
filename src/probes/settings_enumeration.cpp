#include "probes/settings_enumeration.h"

#include "probes/program_settings.h"
#include "probes/trim_n.h"

namespace tarnwell {

namespace {

// A buffer's text: what stands before its first NUL, or the trimmed buffer without one.
std::string buffer_text(const std::string& buffer) {
    const std::size_t nul = buffer.find('\0');
    return nul == std::string::npos ? TrimN(buffer) : buffer.substr(0, nul);
}

}  // namespace

std::int32_t GetAllSettingValue(RegistryApi& registry, const std::string& chnode,
                                std::vector<std::array<std::string, 2>>& chCurKey) {
    reg_key key = 0;
    const std::string path = std::string(program_settings_tree) + "\\" + chnode;
    if (registry.open_key_default(reg::current_user, path.c_str(), &key) != reg::success) return 0;

    std::uint32_t values = 0, longest_name = 0, longest_data = 0;
    registry.query_key_info(key, nullptr, nullptr, &values, &longest_name, &longest_data);
    if (values < 1) {
        registry.close_key(key);
        return 0;
    }

    chCurKey.assign(values, {});
    std::int32_t count = 0;
    for (std::uint32_t index = 0; count < static_cast<std::int32_t>(values); ++index) {
        std::string name(longest_name + 1, '\0');
        std::string data(longest_data + 1, '\0');
        std::uint32_t name_size = longest_name + 1, data_size = longest_data + 1, type = 0;
        const long status =
            registry.enum_value(key, index, name.data(), &name_size, &type,
                                reinterpret_cast<std::uint8_t*>(data.data()), &data_size);
        if (status == reg::no_more_items) break;
        // A value that grew since the key was measured comes back with more data: it is
        // listed with what its buffers hold, and skipped below only when its name came
        // back blank (TrimN leaves nothing of it, as when the name was left out). Any
        // other failure is the key's own and would repeat at every index.
        if (status != reg::success && status != reg::more_data) break;
        if (TrimN(name).empty()) continue;
        chCurKey[count] = {buffer_text(name), buffer_text(data)};
        ++count;
    }
    registry.close_key(key);
    return count;
}

}  // namespace tarnwell
