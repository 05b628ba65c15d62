#include <stdexcept>

#include "proj_db_names.h"

namespace tarnwell::epsg_writer {

// This build found no SQLite library.
TextPools read_proj_db_names(const std::string& path) {
    throw std::runtime_error("cannot read " + path +
                             ": this epsg_writer was built without SQLite (install "
                             "libsqlite3-dev and configure again)");
}

}  // namespace tarnwell::epsg_writer
