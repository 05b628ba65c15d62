#pragma once
// The host twin of the file layer: Windows paths ("C:\Bin\x.dat", "\Tarnwell") mapped
// onto folders under a root on Linux, one folder per drive letter, with names looked
// up without regard to letter case as Windows does.
#include <filesystem>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace tarnwell {

// Asks Linux for huge pages behind a buffer about to receive a large read. Filling
// 4 KiB pages one fault at a time costs more than the copy itself on some machines;
// every large read on the host goes through this, the benchmark's read call too.
void prepare_large_read_buffer(char* buffer, std::size_t size);

class HostFileSystem : public FileSystem {
public:
    // Drive X: is the folder root/x. Paths without a drive are on drive C.
    explicit HostFileSystem(std::filesystem::path root);

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

    // Test set-up: the Linux path a Windows path stands for (existing names matched
    // without regard to case), and helpers that create files and folders.
    std::filesystem::path host_path(const std::string& windows_path) const;
    void make_folder(const std::string& windows_path);
    void make_file(const std::string& windows_path, const std::string& content = "");
    // Every operation on this exact Windows path raises an error from now on, as a
    // failing device would.
    void fail_on(const std::string& windows_path);

private:
    void check_not_failing(const std::string& path) const;

    std::filesystem::path root_;
    std::set<std::string> failing_;
};

}  // namespace tarnwell
