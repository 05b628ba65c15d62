// QRX_Intel_Win32.dll: FINDFILEINPATH searches the folders of PATH for a program.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/owned.h"
#include "support/find_file_in_path.h"

namespace {

std::string path_variable() {
    const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (size == 0) return {};
    std::vector<char> value(size, '\0');
    const DWORD length = GetEnvironmentVariableA("PATH", value.data(), size);
    return length < size ? std::string(value.data(), length) : std::string();
}

// The file's name as it stands in the folder, when the folder holds a file (not a
// folder) of that name.
std::string find_in_folder(const std::string& folder, const std::string& name) {
    if (name.find_first_of("*?") != std::string::npos) return {};
    WIN32_FIND_DATAA found;
    const tarnwell::OwnedFindHandle search(FindFirstFileA((folder + "\\" + name).c_str(), &found));
    if (!search) return {};
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {};
    return found.cFileName;
}

}  // namespace

extern "C" __declspec(dllexport) std::int32_t
    __stdcall FINDFILEINPATH(const char* name, std::int32_t name_length, char* buffer,
                             std::int32_t buffer_length) {
    try {
        return tarnwell::find_file_in_path(name, name_length, buffer, buffer_length,
                                           path_variable(), find_in_folder);
    } catch (...) {
        return 0;  // nothing may cross the library's boundary
    }
}
