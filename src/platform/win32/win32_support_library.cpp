#include "platform/win32/win32_support_library.h"

#include <cstring>
#include <string>

#include "platform/code_page.h"
#include "platform/win32/dll_search.h"

namespace tarnwell {

namespace {
constexpr const char* library_name = "QRX_Intel_Win32.dll";
}

Result<std::int32_t> Win32SupportLibrary::FINDFILEINPATH(const char* name, std::int32_t name_length,
                                                         char* buffer, std::int32_t buffer_length) {
    if (find_ == nullptr) {
        if (!module_) module_.reset(load_library_beside_program(library_name));
        if (!module_)
            return Status(static_cast<long>(GetLastError()),
                          std::string("File not found: ") + library_name);
        const FARPROC entry = GetProcAddress(module_.get(), "FINDFILEINPATH");
        if (entry == nullptr)
            return Status(static_cast<long>(GetLastError()),
                          std::string("Can't find DLL entry point FINDFILEINPATH in ") +
                              library_name);
        find_ = reinterpret_cast<find_file_function>(reinterpret_cast<void (*)()>(entry));
    }
    // The library takes the name and gives the path in the ANSI code page; a name the
    // code page cannot hold names no file the library could find.
    if (name == nullptr || buffer == nullptr || name_length <= 0 || buffer_length <= 0) return 0;
    const Result<std::string> ansi_name = ansi_from_utf8(
        std::string_view(name, strnlen(name, static_cast<std::size_t>(name_length))));
    if (!ansi_name.ok() || ansi_name->empty()) return 0;
    // The library writes into a copy of the caller's buffer; the path comes back in
    // UTF-8 over the buffer's start, and the rest stays as the caller filled it, with
    // the NUL the library may have written after the path.
    std::string ansi(buffer, static_cast<std::size_t>(buffer_length));
    const std::int32_t found = find_(ansi_name->c_str(), static_cast<std::int32_t>(ansi_name->size()),
                                     &ansi[0], buffer_length);
    if (found < 1 || found > buffer_length) return found < 1 ? found : 0;
    const std::string path = utf8_from_ansi(std::string_view(ansi.data(), static_cast<std::size_t>(found)));
    if (path.size() > static_cast<std::size_t>(buffer_length)) return 0;
    std::memcpy(buffer, path.data(), path.size());
    if (path.size() < static_cast<std::size_t>(buffer_length) && found < buffer_length &&
        ansi[static_cast<std::size_t>(found)] == '\0')
        buffer[path.size()] = '\0';
    return static_cast<std::int32_t>(path.size());
}

}  // namespace tarnwell
