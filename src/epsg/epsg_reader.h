#pragma once
// The reader of the EPSG definitions file, working on the file's bytes in memory.
#include <cstdint>
#include <memory>
#include <string>

#include "epsg/epsg_store.h"
#include "platform/file_bytes.h"

namespace tarnwell {

// The largest definitions file the reader takes: 512 MiB. The program is a 32-bit
// process with 2 GiB of address space (it is not large-address-aware), already shared
// by its code, the system's libraries and its heaps; the file's buffer must be one
// free range of that size, and the tables add up to 4 bytes per record (a record
// takes 14 bytes or more, so up to 150 MiB more). 512 MiB of file plus its tables
// fits in what such a process has free; 1 GiB often does not. A file of the whole EPSG
// dataset takes under 3 MB, so the limit leaves room for two hundred times that.
constexpr std::uint64_t epsg_file_size_limit = 512u * 1024 * 1024;

// Reads a whole definitions file into the store, block by block in file order,
// replacing each table as its block is read. stage is raised by 1 just before each
// block: 1 to 9 for the sections, 10 for the integer table, 11 for the section-9 list.
// A block that runs past the end of the bytes, or whose count is negative or larger
// than the bytes left can hold, raises run_time_error with a description; stage then
// names the block that failed, and the tables show how far the read came. The tables
// read keep the bytes they need alive: the buffer itself, or a copy of just those
// bytes when more than an eighth of the buffer is not needed. Bytes after the
// section-9 list are ignored. A buffer over the size limit is refused before stage 1.
void read_epsg_definitions(const std::shared_ptr<const FileBytes>& bytes, EpsgStore& store,
                           std::int32_t& stage);

}  // namespace tarnwell
