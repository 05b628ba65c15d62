#include "registry/value_writes.h"

namespace tarnwell {

long open_for_writing(const KeyPath& path, bool create, RegKey& key) {
    long status = key.open(path.root, path.sub_key, reg::key_all_access);
    if (status != reg::success) {
        if (!create) return status;
        key.create(path.root, path.sub_key);
    }
    return key.open(path.root, path.sub_key, reg::key_write);
}

std::string text_value_name(const std::string& name) { return name == "@" ? std::string() : name; }

}  // namespace tarnwell
