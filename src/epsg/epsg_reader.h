#pragma once
// The reader of the EPSG definitions file, working on the file's bytes in memory.
#include <cstdint>
#include <memory>
#include <string>

#include "common/status.h"
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

// How a read ended: the stage it reached and, when it failed there, why. Stage 0 is
// the file's own read; 1 to 9 are the sections, 10 the integer table, 11 the section-9
// list.
struct DefinitionsRead {
    std::int32_t stage = 0;
    Status status;
};

// Reads a definitions file's bytes into the store, block by block in file order,
// replacing each table as its block is read. A block that runs past the end of the
// bytes, or whose count is negative or larger than the bytes left can hold, fails its
// stage; the tables show how far the read came. Bytes after the section-9 list are
// ignored. A buffer over the size limit is refused at stage 0.
DefinitionsRead read_epsg_definitions(const std::shared_ptr<const FileBytes>& bytes,
                                      EpsgStore& store);

// Reads the file at path whole (opened for reading only and closed again at stage 0;
// its size is checked against the limit before its buffer is allocated), then its
// blocks.
DefinitionsRead read_definitions_file(FileSystem& files, const std::string& path, EpsgStore& store);

}  // namespace tarnwell
