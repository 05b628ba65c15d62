#include "registry/registry_errors.h"

#include "platform/registry_api.h"

namespace tarnwell {

std::string registry_error_text(const Status& status) {
    const char* name = nullptr;
    switch (status.code()) {
    case reg::file_not_found:
        name = "not found";
        break;
    case reg::access_denied:
        name = "access denied";
        break;
    case reg::invalid_handle:
        name = "invalid handle";
        break;
    case reg::invalid_parameter:
        name = "invalid parameter";
        break;
    case reg::bad_pathname:
        name = "invalid path";
        break;
    case reg::name_too_long:
        name = "name too long";
        break;
    case reg::more_data:
        name = "more data: a buffer or a name too long";
        break;
    case reg::key_deleted:
        name = "key deleted";
        break;
    case reg::invalid_key:
        name = "invalid key";
        break;
    case reg::key_not_written:
        name = "the key could not be written";
        break;
    default:
        break;
    }
    const std::string number = "Windows error " + std::to_string(status.code());
    return name != nullptr ? number + " (" + name + ")" : number;
}

std::string value_type_name(std::uint32_t type) {
    switch (type) {
    case reg::type_none:
        return "value without a type";
    case reg::type_sz:
        return "text";
    case reg::type_expand_sz:
        return "expandable text";
    case reg::type_binary:
        return "binary";
    case reg::type_dword:
        return "number";
    case 5:
        return "big-endian number";
    case 6:
        return "link";
    case reg::type_multi_sz:
        return "multi-text";
    case 8:
        return "resource list";
    case 11:
        return "64-bit number";
    default:
        return "type " + std::to_string(type);
    }
}

}  // namespace tarnwell
