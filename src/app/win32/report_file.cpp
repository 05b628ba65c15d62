#include "app/win32/report_file.h"

#include <windows.h>

#include "platform/win32/owned.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_text.h"

namespace tarnwell {

Status write_report_file(const std::string& path, const std::string& bytes, ExistingFile existing) {
    OwnedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                 existing == ExistingFile::refuse ? CREATE_NEW : CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return last_error_status();
    Status written = write_all(file.get(), bytes);
    // Closing reports a write the system had deferred.
    if (!file.reset() && written.ok()) written = last_error_status();
    if (!written.ok()) DeleteFileA(path.c_str());
    return written;
}

}  // namespace tarnwell
