#pragma once
// Real texts for definitions files: the names of the EPSG dataset in proj.db, the
// SQLite database of Debian's proj-data package.
#include <string>

#include "epsg_writer/epsg_writer.h"

namespace tarnwell::epsg_writer {

constexpr const char* default_proj_db = "/usr/share/proj/proj.db";

// One pool of EPSG names per section (CRS, units, ellipsoids, meridians, datums,
// projected CRS, conversions, areas of use, transformations). Raises
// std::runtime_error saying what is missing when the database cannot be read.
TextPools read_proj_db_names(const std::string& path);

}  // namespace tarnwell::epsg_writer
