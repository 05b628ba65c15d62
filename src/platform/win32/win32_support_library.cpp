#include "platform/win32/win32_support_library.h"

#include <string>

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
    return find_(name, name_length, buffer, buffer_length);
}

}  // namespace tarnwell
