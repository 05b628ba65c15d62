// QRX_Intel_Win32.dll: FINDFILEINPATH searches the folders of PATH for a program.
// Its callers pass the name and get the path back in the ANSI code page; the search
// itself reads PATH and the folders through the wide calls, so that a folder named
// outside the code page is seen as it is, and a path the code page cannot hold exactly
// is passed over rather than given back as a look-alike that names another file.
#include "windows_api/windows_api.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/win32/owned.h"
#include "platform/win32/win32_text.h"
#include "support/find_file_in_path.h"

namespace {

std::string path_variable() {
    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (size == 0) return {};
    std::vector<wchar_t> value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"PATH", value.data(), size);
    return length < size ? tarnwell::narrow(std::wstring_view(value.data(), length))
                         : std::string();
}

// The file's name as it stands in the folder, when the folder holds a file (not a
// folder) of that name.
std::string find_in_folder(const std::string& folder, const std::string& name) {
    if (name.find_first_of("*?") != std::string::npos) return {};
    WIN32_FIND_DATAW found;
    const tarnwell::OwnedFindHandle search(
        FindFirstFileW(tarnwell::wide(folder + "\\" + name).c_str(), &found));
    if (!search) return {};
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {};
    return tarnwell::narrow(found.cFileName);
}

std::int32_t find(const char* name, std::int32_t name_length, char* buffer,
                  std::int32_t buffer_length) {
    if (name == nullptr || buffer == nullptr || name_length <= 0 || buffer_length <= 0) return 0;
    const std::string file = tarnwell::utf8_from_ansi(
        std::string_view(name, strnlen(name, static_cast<std::size_t>(name_length))));
    // The search writes UTF-8; the caller's buffer gets the path's ANSI form. A folder
    // whose path to the file the code page cannot hold exactly, or that would not fit
    // the caller's buffer, is passed over and the search goes on.
    const auto in_folder = [buffer_length](const std::string& folder, const std::string& wanted) {
        const std::string found_name = find_in_folder(folder, wanted);
        if (found_name.empty()) return found_name;
        const tarnwell::Result<std::string> path =
            tarnwell::ansi_from_utf8(folder + "\\" + found_name);
        const bool fits = path.ok() && path->size() <= static_cast<std::size_t>(buffer_length);
        return fits ? found_name : std::string();
    };
    std::string found(file.size() + 1 + 32768, '\0');
    const std::int32_t length =
        tarnwell::find_file_in_path(file.c_str(), static_cast<std::int32_t>(file.size()), &found[0],
                                    static_cast<std::int32_t>(found.size()), path_variable(),
                                    in_folder);
    if (length < 1) return 0;
    const tarnwell::Result<std::string> path =
        tarnwell::ansi_from_utf8(std::string_view(found.data(), static_cast<std::size_t>(length)));
    if (!path.ok() || path->size() > static_cast<std::size_t>(buffer_length)) return 0;
    std::memcpy(buffer, path->data(), path->size());
    return static_cast<std::int32_t>(path->size());
}

}  // namespace

extern "C" __declspec(dllexport) std::int32_t
    __stdcall FINDFILEINPATH(const char* name, std::int32_t name_length, char* buffer,
                             std::int32_t buffer_length) {
    try {
        return find(name, name_length, buffer, buffer_length);
    } catch (...) {
        return 0;  // nothing may cross the library's boundary
    }
}
