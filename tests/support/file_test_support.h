#pragma once
// What the file tests share: a scratch folder for their files (on the host twin's
// drive C, or under the real temporary folder on Windows), a desktop that records
// message boxes instead of showing them, and a file system that lets a test act
// before each operation reaches the platform.
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file_system.h"
#include "platform/host/host_desktop.h"
#include "support/test_platform.h"

#if defined(_WIN32)
#include <process.h>
#else
#include <unistd.h>

#include "platform/host/host_platform.h"
#endif

namespace tarnwell::test {

// A new empty folder for one test, as a Windows path without a trailing "\".
class ScratchFolder {
public:
    explicit ScratchFolder(TestPlatform& platform) : twin_(platform.twin()) {
#if defined(_WIN32)
        static std::atomic<int> counter{0};
        host_path_ =
            std::filesystem::temp_directory_path() /
            ("tarnwell-files-" + std::to_string(_getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(host_path_);
        std::filesystem::create_directories(host_path_);
        path_ = host_path_.string();
#else
        path_ = "C:\\scratch";
        twin_->files.make_folder(path_);
#endif
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!host_path_.empty()) std::filesystem::remove_all(host_path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    // Makes a folder inside the scratch folder and returns its path.
    std::string make_folder(const std::string& name) const {
        const std::string folder = *this / name;
#if defined(_WIN32)
        std::filesystem::create_directories(host_path_ / name);
#else
        twin_->files.make_folder(folder);
#endif
        return folder;
    }

private:
    HostTwin* twin_;
    std::filesystem::path host_path_;  // set on Windows, where the folder is real
    std::string path_;
};

// Passes every call on to a real file system after calling `before` with the
// operation's name and first path, which may raise (a failing device) or change the
// files (another program at work).
class HookedFileSystem : public FileSystem {
public:
    using Hook = std::function<void(const std::string& operation, const std::string& path)>;

    HookedFileSystem(FileSystem& inner, Hook before) : inner_(inner), before_(std::move(before)) {}

    std::string special_folder(int which) override { return inner_.special_folder(which); }
    bool file_exists(const std::string& path) override {
        before_("file_exists", path);
        return inner_.file_exists(path);
    }
    bool folder_exists(const std::string& path) override {
        before_("folder_exists", path);
        return inner_.folder_exists(path);
    }
    std::string file_name(const std::string& path) override {
        before_("file_name", path);
        return inner_.file_name(path);
    }
    bool matches_exist(const std::string& pattern) override {
        before_("matches_exist", pattern);
        return inner_.matches_exist(pattern);
    }
    void copy_file(const std::string& source, const std::string& destination) override {
        before_("copy_file", source);
        inner_.copy_file(source, destination);
    }
    std::string read_file(const std::string& path) override {
        before_("read_file", path);
        return inner_.read_file(path);
    }
    std::unique_ptr<ReadableFile> open_for_reading(const std::string& path) override {
        before_("open_for_reading", path);
        return inner_.open_for_reading(path);
    }
    void create_file(const std::string& path, const std::string& text) override {
        before_("create_file", path);
        inner_.create_file(path, text);
    }
    std::unique_ptr<PendingFile> create_pending_file(const std::string& destination) override {
        before_("create_pending_file", destination);
        return inner_.create_pending_file(destination);
    }

private:
    FileSystem& inner_;
    Hook before_;
};

}  // namespace tarnwell::test
