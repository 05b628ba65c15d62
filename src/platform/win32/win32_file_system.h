#pragma once
// The file layer on Windows: kernel32 file calls.
#include "platform/file_system.h"

namespace tarnwell {

class Win32FileSystem : public FileSystem {
public:
    std::string special_folder(int which) override;
    bool file_exists(const std::string& path) override;
    bool folder_exists(const std::string& path) override;
    std::string file_name(const std::string& path) override;
    bool matches_exist(const std::string& pattern) override;
    void copy_file(const std::string& source, const std::string& destination) override;
    std::string read_file(const std::string& path) override;
    std::unique_ptr<ReadableFile> open_for_reading(const std::string& path) override;
    void create_file(const std::string& path, const std::string& text) override;
    std::unique_ptr<PendingFile> create_pending_file(const std::string& destination) override;
};

}  // namespace tarnwell
