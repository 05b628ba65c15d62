#pragma once
// What the file tests share: results that must be there, a scratch folder for their
// files (on the host twin's drive C, or under the real temporary folder on Windows), and
// a file system that lets a test act before each operation reaches the platform.
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_bytes.h"
#include "platform/system_platform.h"
#include "support/status_print.h"

#if defined(_WIN32)
#include <process.h>
#else
#include <unistd.h>
#endif

namespace tarnwell::test {

// The value of a Result that must have one: its failure fails the test.
template <class T>
T must(Result<T> result) {
    if (!result.ok()) {
        ADD_FAILURE() << result.status().description();
        return T{};
    }
    return std::move(result).value();
}
inline void must(const Status& status) { EXPECT_TRUE(status.ok()) << status.description(); }

// The whole file as a text, or why it cannot be read.
inline Result<std::string> read_file(FileSystem& files, const std::string& path) {
    const Result<FileBytes> bytes = read_whole_file(files, path, 0x7FFFFFFF);
    if (!bytes.ok()) return bytes.status();
    return std::string(bytes->data(), bytes->size());
}

// The whole file as a text; a file that cannot be read fails the test.
inline std::string file_text(FileSystem& files, const std::string& path) {
    return must(read_file(files, path));
}

// A new empty folder for one test, as a Windows path without a trailing "\".
class ScratchFolder {
public:
    explicit ScratchFolder(SystemPlatform& platform) : twin_(twin_of(platform)) {
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
// operation's name and first path, which may fail the call with a Status of its own (a
// failing device) or change the files (another program at work).
class HookedFileSystem : public FileSystem {
public:
    using Hook = std::function<Status(const std::string& operation, const std::string& path)>;

    HookedFileSystem(FileSystem& inner, Hook before) : inner_(inner), before_(std::move(before)) {}

    Result<std::string> special_folder(int which) override { return inner_.special_folder(which); }
    Result<bool> file_exists(const std::string& path) override {
        if (Status failed = before_("file_exists", path); !failed.ok()) return failed;
        return inner_.file_exists(path);
    }
    Result<bool> folder_exists(const std::string& path) override {
        if (Status failed = before_("folder_exists", path); !failed.ok()) return failed;
        return inner_.folder_exists(path);
    }
    Result<std::vector<std::string>> list_files(const std::string& folder,
                                                const std::string& pattern) override {
        if (Status failed = before_("list_files", folder); !failed.ok()) return failed;
        return inner_.list_files(folder, pattern);
    }
    Result<bool> matches_exist(const std::string& pattern) override {
        if (Status failed = before_("matches_exist", pattern); !failed.ok()) return failed;
        return inner_.matches_exist(pattern);
    }
    Status copy_file(const std::string& source, const std::string& destination) override {
        if (Status failed = before_("copy_file", source); !failed.ok()) return failed;
        return inner_.copy_file(source, destination);
    }
    Result<std::unique_ptr<ReadableFile>> open_for_reading(const std::string& path) override {
        if (Status failed = before_("open_for_reading", path); !failed.ok()) return failed;
        return inner_.open_for_reading(path);
    }
    Result<std::unique_ptr<PendingFile>> create_pending_file(
        const std::string& destination) override {
        if (Status failed = before_("create_pending_file", destination); !failed.ok())
            return failed;
        return inner_.create_pending_file(destination);
    }

private:
    FileSystem& inner_;
    Hook before_;
};

}  // namespace tarnwell::test
