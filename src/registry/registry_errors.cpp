#include "registry/registry_errors.h"

#include <initializer_list>

#include "platform/registry_api.h"

namespace tarnwell {

namespace {

struct Named {
    long number;
    const char* name;
};

const char* name_in(std::initializer_list<Named> names, long number) {
    for (const Named& named : names) {
        if (named.number == number) return named.name;
    }
    return nullptr;
}

}  // namespace

std::string registry_error_text(const Status& status) {
    const char* name = name_in({{reg::file_not_found, "not found"},
                                {reg::access_denied, "access denied"},
                                {reg::invalid_handle, "invalid handle"},
                                {reg::invalid_parameter, "invalid parameter"},
                                {reg::bad_pathname, "invalid path"},
                                {reg::name_too_long, "name too long"},
                                {reg::more_data, "more data: a buffer or a name too long"},
                                {reg::key_deleted, "key deleted"},
                                {reg::invalid_key, "invalid key"},
                                {reg::key_not_written, "the key could not be written"}},
                               status.code());
    const std::string number = "Windows error " + std::to_string(status.code());
    return name != nullptr ? number + " (" + name + ")" : number;
}

std::string value_type_name(std::uint32_t type) {
    const char* name = name_in({{reg::type_none, "value without a type"},
                                {reg::type_sz, "text"},
                                {reg::type_expand_sz, "expandable text"},
                                {reg::type_binary, "binary"},
                                {reg::type_dword, "number"},
                                {5, "big-endian number"},
                                {6, "link"},
                                {reg::type_multi_sz, "multi-text"},
                                {8, "resource list"},
                                {11, "64-bit number"}},
                               static_cast<long>(type));
    return name != nullptr ? name : "type " + std::to_string(type);
}

}  // namespace tarnwell
