#include "registry/value_writes.h"

namespace tarnwell {

Status open_for_writing(const KeyPath& path, bool create, RegKey& key) {
    // Creating opens an existing key too, with the access it allows: one that refuses
    // writing is opened for reading only, and the writes through it fail as they would
    // after a refused open for writing.
    if (create) return key.create(path.root, path.sub_key);
    return key.open(path.root, path.sub_key, reg::key_all_access);
}

}  // namespace tarnwell
