#pragma once
// The file layer on Windows: kernel32 file calls.
#include "windows_api/windows_api.h"

#include "platform/file_system.h"

namespace tarnwell {

class Win32FileSystem : public FileSystem {
public:
    Result<std::string> special_folder(int which) override;
    Result<bool> file_exists(const std::string& path) override;
    Result<bool> folder_exists(const std::string& path) override;
    Result<bool> matches_exist(const std::string& pattern) override;
    Result<std::vector<std::string>> list_files(const std::string& folder,
                                                const std::string& pattern) override;
    Status copy_file(const std::string& source, const std::string& destination) override;
    Result<std::unique_ptr<ReadableFile>> open_for_reading(const std::string& path) override;
    Result<std::unique_ptr<PendingFile>> create_pending_file(
        const std::string& destination) override;
};

// A path as the wide file calls take it: one of MAX_PATH characters or more is made full
// and given the \\?\ form (\\?\UNC\ for a share), which the calls read past MAX_PATH;
// a shorter path, or one in that form already, goes as it is.
std::wstring file_call_path(const std::string& path);

// Writes all the bytes to an open file, in calls of at most 1 GiB.
Status write_all(HANDLE file, std::string_view bytes);

}  // namespace tarnwell
