#include "probes/program_settings.h"
#include "probes/stored_text.h"
#include "registry/reg_key.h"

namespace tarnwell {

SectionSettings read_section_settings(RegistryApi& registry, const std::string& section) {
    SectionSettings read;
    RegKey key(registry);
    const std::string path = std::string(program_settings_tree) + "\\" + section;
    if (const Status opened = key.open_default(reg::current_user, path); !opened.ok()) {
        if (opened != reg::file_not_found) read.failure = opened;
        return read;
    }

    RegKeyInfo info;
    (void)key.query_info(info);  // a key that cannot be queried counts as one without values
    read.value_count = info.values;
    // The key's buffers are sized once from its longest entries and grow only when a
    // value outgrew them since; a value that kept outgrowing them is passed over. Any
    // other failure is the key's own and would repeat at every index. Values added since
    // the count was taken are not read.
    RegValueEntry value;
    for (std::uint32_t index = 0; read.settings.size() < info.values; ++index) {
        const Status status = key.enum_value(index, value);
        if (status == reg::more_data) continue;
        if (!status.ok()) break;
        if (trimmed_stored_text(value.name).empty()) continue;
        read.settings.push_back({text_before_nul(value.name), text_before_nul(value.data)});
    }
    return read;
}

}  // namespace tarnwell
