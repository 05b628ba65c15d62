#pragma once
// The search behind FINDFILEINPATH: the folders of a PATH list in order, the first
// folder that holds the file (its name matched without regard to case) wins.
#include <cstdint>
#include <functional>
#include <string>

namespace tarnwell {

// Returns the name of the file as it stands in the folder, or "" when the folder
// holds no file of that name.
using find_in_folder = std::function<std::string(const std::string& folder,
                                                 const std::string& name)>;

// Writes folder + "\" + found name at the start of buffer and leaves the rest of the
// buffer as the caller filled it; never writes past buffer_length characters. A folder
// whose path to the file does not fit the buffer is passed over like one without the
// file. Returns the length of the path written, or 0 when the file was not found.
std::int32_t find_file_in_path(const char* name, std::int32_t name_length, char* buffer,
                               std::int32_t buffer_length, const std::string& path_list,
                               const find_in_folder& lookup);

}  // namespace tarnwell
