#pragma once
// The export of a key tree to a registry file in a form the platform's regedit reads,
// REGEDIT4 or version 5 (see reg_file_format.h):
// each key's block (its key line, the default value, then its texts, binaries, numbers
// and values of other types, each group in enumeration order, and an empty line), the
// subtree of each subkey after it in pre-order.
//
// The file is written under a temporary name beside its destination and moved there
// only when it is whole, never over a file that exists: after a failure nothing stands
// at the destination.
#include <string>

#include "platform/file_system.h"
#include "platform/registry_api.h"
#include "registry/reg_file_format.h"
#include "registry/reg_file_result.h"

namespace tarnwell {

// Told of each key just before its block is written; a failure stops the export.
class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    virtual Status key_started(const std::string& key_path) = 0;
};

// Writes the key at key_path (and, with `subkeys`, everything below it) to `file`, under
// key lines with the root's long name. Not whole when the path's root is unknown (see
// read_key_path), the file exists, the key cannot be opened, a key that opened cannot be
// listed whole, the file cannot be written or progress failed. A subkey that cannot be
// opened gets a block without values and subkeys, and is named; so is every key and
// value a REGEDIT4 file cannot hold, left out, and every registry link below the key,
// left out and not followed.
RegFileResult export_reg_file(RegistryApi& api, FileSystem& files, const std::string& key_path,
                              const std::string& file, bool subkeys, RegFileForm form,
                              ExportProgress* progress);

}  // namespace tarnwell
