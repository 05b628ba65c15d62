#include "support/find_file_in_path.h"

#include <algorithm>
#include <cstring>

namespace tarnwell {

std::int32_t find_file_in_path(const char* name, std::int32_t name_length, char* buffer,
                               std::int32_t buffer_length, const std::string& path_list,
                               const find_in_folder& lookup) {
    if (name == nullptr || buffer == nullptr || name_length <= 0 || buffer_length <= 0)
        return 0;
    // The name ends at its given length or at a NUL, whichever comes first.
    const std::string file(name, strnlen(name, static_cast<std::size_t>(name_length)));
    if (file.empty() || file.find_first_of("\\/:") != std::string::npos) return 0;

    std::size_t start = 0;
    while (start <= path_list.size()) {
        std::size_t end = path_list.find(';', start);
        if (end == std::string::npos) end = path_list.size();
        std::string folder = path_list.substr(start, end - start);
        // PATH entries may be quoted and may end in a separator.
        folder.erase(std::remove(folder.begin(), folder.end(), '"'), folder.end());
        while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
            folder.pop_back();
        if (!folder.empty()) {
            const std::string found = lookup(folder, file);
            const std::string full = folder + "\\" + found;
            // A path too long for the buffer is passed over: a later folder may still
            // hold the file.
            if (!found.empty() && full.size() <= static_cast<std::size_t>(buffer_length)) {
                std::memcpy(buffer, full.data(), full.size());
                return static_cast<std::int32_t>(full.size());
            }
        }
        start = end + 1;
    }
    return 0;
}

}  // namespace tarnwell
