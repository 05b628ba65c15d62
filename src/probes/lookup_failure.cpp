#include "probes/lookup_failure.h"

#include "registry/reg_key.h"

namespace tarnwell {

namespace {

// A status that is a real failure: anything but success and "not there".
long failure_code(const Status& status) {
    return status == reg::success || status == reg::file_not_found ? 0 : status.code();
}

}  // namespace

long key_lookup_error(RegistryApi& registry, reg_key root, const std::string& sub_key) {
    RegKey key(registry);
    return failure_code(key.open(root, sub_key, reg::key_read));
}

long value_lookup_error(RegistryApi& registry, reg_key root, const std::string& sub_key,
                        const std::string& name) {
    RegKey key(registry);
    const Status opened = key.open(root, sub_key, reg::key_read);
    if (!opened.ok()) return failure_code(opened);
    std::uint32_t type = reg::type_none;
    std::uint32_t size = 0;
    const Status queried = key.query_value(name, &type, nullptr, &size);
    return queried == reg::more_data ? 0 : failure_code(queried);
}

}  // namespace tarnwell
