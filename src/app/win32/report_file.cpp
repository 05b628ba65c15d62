#include "app/win32/report_file.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_text.h"

namespace tarnwell {

std::string write_report_file(const std::string& path, const std::string& bytes,
                              ExistingFile existing) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                              existing == ExistingFile::refuse ? CREATE_NEW : CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return system_error_text(GetLastError());
    DWORD failure = ERROR_SUCCESS;
    std::size_t written = 0;
    while (written < bytes.size() && failure == ERROR_SUCCESS) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written,
                                                                     1u << 20));
        DWORD done = 0;
        if (!WriteFile(file, bytes.data() + written, chunk, &done, nullptr) || done == 0)
            failure = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
        written += done;
    }
    if (!CloseHandle(file) && failure == ERROR_SUCCESS) failure = GetLastError();
    if (failure == ERROR_SUCCESS) return {};
    DeleteFileA(path.c_str());
    return system_error_text(failure);
}

}  // namespace tarnwell
