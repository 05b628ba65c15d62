#pragma once
// The host twin of the file layer: Windows paths ("C:\Bin\x.dat", "\Tarnwell") mapped
// onto folders under a root on Linux, one folder per drive letter, with names looked
// up without regard to letter case as Windows does.
#include <filesystem>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace tarnwell {

class HostFileSystem : public FileSystem {
public:
    // Drive X: is the folder root/x. Paths without a drive are on drive C.
    explicit HostFileSystem(std::filesystem::path root);

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

    // Test set-up: the Linux path a Windows path stands for (existing names matched
    // without regard to case), and helpers that create files and folders.
    std::filesystem::path host_path(const std::string& windows_path) const;
    void make_folder(const std::string& windows_path);
    void make_file(const std::string& windows_path, const std::string& content = "");
    // Every operation on this exact Windows path fails from now on, as on a failing
    // device.
    void fail_on(const std::string& windows_path);

private:
    bool failing(const std::string& path) const;

    std::filesystem::path root_;
    std::set<std::string> failing_;
};

}  // namespace tarnwell
