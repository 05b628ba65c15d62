#pragma once
// The import of a registry file: each key line opens (creating it when it is missing)
// the key whose values follow, "[-key]" deletes a key that has no subkeys, and each
// value line writes or deletes one value. The lines are read as the platform's regedit
// reads them (see reg_file_parse.h): a line ends at CR LF, LF or CR. What cannot be
// applied exactly is named with its line and left out, and so is a line that is neither
// a key line, a value line inside a key's block, a comment nor empty; the lines after it
// are applied.
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/registry_api.h"
#include "registry/key_path.h"
#include "registry/reg_file_result.h"

namespace tarnwell {

// Whether a version 5 file (UTF-16) is read, or refused like any file that is not
// REGEDIT4. A REGEDIT4 file is in the ANSI code page.
enum class UnicodeFiles { refused, read };

// Applies the file's bytes. Not whole, with nothing changed, when the first line is not
// the header (REGEDIT4 in any letter case with nothing around it, or for a version 5
// file its own). Key lines are read with
// `read_path`; a key line it refuses is named, and the key and its values are left out.
RegFileResult import_reg_text(RegistryApi& api, std::string_view bytes, UnicodeFiles unicode,
                              KeyPathReading read_path = read_key_path);

// Reads the file whole, closes it, then applies it.
RegFileResult import_reg_file(RegistryApi& api, FileSystem& files, const std::string& file,
                              UnicodeFiles unicode, KeyPathReading read_path = read_key_path);

}  // namespace tarnwell
