#include "probes/settings_enumeration.h"

#include <cstring>

#include "probes/program_settings.h"
#include "probes/trim_n.h"
#include "registry/reg_key.h"

namespace tarnwell {

namespace {

// A name or data read from the registry as a text: what stands before its first NUL.
std::string text_before_nul(const std::string& read) {
    return read.substr(0, strnlen(read.c_str(), read.size()));
}

}  // namespace

std::int32_t GetAllSettingValue(RegistryApi& registry, const std::string& chnode,
                                std::vector<std::array<std::string, 2>>& chCurKey) {
    RegKey key(registry);
    const std::string path = std::string(program_settings_tree) + "\\" + chnode;
    if (key.open_default(reg::current_user, path) != reg::success) return 0;

    // A key that cannot be queried counts as one without values.
    RegKeyInfo info;
    key.query_info(info);
    if (info.values < 1) return 0;

    chCurKey.assign(info.values, {});
    std::int32_t count = 0;
    // The key's buffers are sized once from its longest entries and grow only when a
    // value outgrew them since; a value that kept outgrowing them is passed over. Any
    // other failure is the key's own and would repeat at every index.
    RegValueEntry value;
    for (std::uint32_t index = 0; count < static_cast<std::int32_t>(info.values); ++index) {
        const long status = key.enum_value(index, value);
        if (status == reg::more_data) continue;
        if (status != reg::success) break;
        if (TrimN(value.name).empty()) continue;
        chCurKey[count] = {text_before_nul(value.name), text_before_nul(value.data)};
        ++count;
    }
    return count;
}

}  // namespace tarnwell
