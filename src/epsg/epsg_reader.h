#pragma once
// The reader of the EPSG definitions file, working on the file's bytes in memory.
#include <cstdint>
#include <memory>
#include <string>

#include "epsg/epsg_store.h"

namespace tarnwell {

// Reads a whole definitions file into the store, block by block in file order,
// replacing each table as its block is read. stage is raised by 1 just before each
// block: 1 to 9 for the sections, 10 for the integer table, 11 for the section-9 list.
// A block that runs past the end of the bytes, or whose count is negative or larger
// than the bytes left can hold, raises run_time_error with a description; stage then
// names the block that failed, and the tables show how far the read came. The tables
// read keep the bytes alive. Bytes after the section-9 list are ignored.
void read_epsg_definitions(const std::shared_ptr<const std::string>& bytes, EpsgStore& store,
                           std::int32_t& stage);

}  // namespace tarnwell
