#include "platform/host/host_support_library.h"

#include <system_error>

#include "support/find_file_in_path.h"

namespace tarnwell {

Result<std::int32_t> HostSupportLibrary::FINDFILEINPATH(const char* name, std::int32_t name_length,
                                                        char* buffer, std::int32_t buffer_length) {
    if (!installed) return Status(126, "File not found: QRX_Intel_Win32.dll");
    return find_file_in_path(name, name_length, buffer, buffer_length, path,
                             [this](const std::string& folder, const std::string& file) {
                                 const std::string candidate = folder + "\\" + file;
                                 if (!files_.file_exists(candidate).value_or(false))
                                     return std::string();
                                 return files_.host_path(candidate).filename().string();
                             });
}

}  // namespace tarnwell
