#pragma once
// Writes the report to a file, byte for byte.
#include <string>

#include "common/status.h"

namespace tarnwell {

enum class ExistingFile { refuse, replace };

// Writes the bytes to the file. With ExistingFile::refuse the system itself refuses an
// existing file in the same call that creates the new one, so nothing can slip in between
// a test and the creation. A file this call created but could not write whole is removed
// again.
Status write_report_file(const std::string& path, const std::string& bytes, ExistingFile existing);

}  // namespace tarnwell
