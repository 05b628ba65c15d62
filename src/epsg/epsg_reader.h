#pragma once
// The reader of the EPSG definitions file: one pass over the file's bytes that checks
// that they hold a whole file. The program uses none of the definitions; the Test
// command only learns whether the file reads through, or where and why it does not.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/status.h"
#include "platform/file_system.h"

namespace tarnwell {

// The largest definitions file the reader takes: 512 MiB. The file is read whole into
// one buffer and the reader keeps nothing else, so the buffer is what limits it. The
// program is a 32-bit process with 2 GiB of address space (it is not
// large-address-aware), already shared by its code, the system's libraries and its
// heaps, and the buffer must be one free range of the file's size: 512 MiB fits in what
// such a process has free; 1 GiB often does not. A file of the whole EPSG dataset takes
// under 3 MB, so the limit leaves room for two hundred times that.
constexpr std::uint64_t epsg_file_size_limit = 512u * 1024 * 1024;

// Checks the blocks of a definitions file in file order: nine sections, the integer
// table, the section-9 list. A block that runs past the end of the bytes, or whose
// count is negative or announces more entries than the bytes left can hold, fails its
// stage (1 to 9 the sections, 10 the integer table, 11 the section-9 list); a record
// that runs past the end is named by its index. Bytes after the section-9 list are
// ignored. The failure's description is the message the Test command shows:
// "An error occurred while reading the EPSG definitions at stage " + the stage + " : "
// + why.
Status read_epsg_definitions(std::string_view bytes);

// Reads the file at path whole (opened for reading only and closed again; its size is
// checked against the limit before its buffer is allocated), a failure there being
// stage 0, then checks its bytes.
Status read_definitions_file(FileSystem& files, const std::string& path);

}  // namespace tarnwell
