#include "platform/host/host_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <system_error>
#include <vector>

#include "common/text.h"
#include "platform/wildcard_match.h"

namespace tarnwell {

namespace fs = std::filesystem;

namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

// The components of a Windows path and its drive letter (lower case). As in Windows,
// the last name loses its trailing dots and spaces ("a.reg. " is "a.reg").
std::vector<std::string> split_path(const std::string& path, char& drive) {
    std::string rest = path;
    drive = 'c';
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
        drive = static_cast<char>(std::tolower(static_cast<unsigned char>(rest[0])));
        rest = rest.substr(2);
    }
    std::vector<std::string> parts;
    std::string part;
    for (char c : rest) {
        if (is_separator(c)) {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) {
        const std::size_t kept = part.find_last_not_of(". ");
        parts.push_back(kept == std::string::npos ? part : part.substr(0, kept + 1));
    }
    return parts;
}

// The failures of the twin, with the Windows codes and the words the program shows.
Status failure(long code, const char* description) { return Status(code, description); }
Status not_found() { return failure(2, "File not found"); }
Status path_not_found() { return failure(3, "Path not found"); }
Status device_error() { return failure(1117, "Device I/O error"); }

// Writes all the bytes to a descriptor.
Status write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        // A write that takes nothing and reports no error has no room either.
        if (written == 0 || (written < 0 && errno == ENOSPC)) return failure(112, "Disk full");
        if (written < 0) return device_error();
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return Status();
}

// A file open for reading through a POSIX descriptor.
class HostReadableFile : public ReadableFile {
public:
    explicit HostReadableFile(int fd) : fd_(fd) {}
    ~HostReadableFile() override { ::close(fd_); }
    HostReadableFile(const HostReadableFile&) = delete;
    HostReadableFile& operator=(const HostReadableFile&) = delete;

    Result<std::uint64_t> size() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return device_error();
        return static_cast<std::uint64_t>(st.st_size);
    }

    Result<std::size_t> read(char* buffer, std::size_t n) override {
        ssize_t got = 0;
        do {
            got = ::read(fd_, buffer, n);
        } while (got < 0 && errno == EINTR);
        if (got < 0) return device_error();
        return static_cast<std::size_t>(got);
    }

private:
    int fd_;
};

// A file written under a name of its own in its destination's folder, linked to the
// destination when kept: link() refuses an existing name, as MoveFileEx does without
// MOVEFILE_REPLACE_EXISTING; rename() replaces a file, as MoveFileEx does with it.
class HostPendingFile : public PendingFile {
public:
    HostPendingFile(fs::path temporary, fs::path destination, int fd)
        : temporary_(std::move(temporary)), destination_(std::move(destination)), fd_(fd) {}
    ~HostPendingFile() override {
        if (fd_ >= 0) ::close(fd_);
        ::unlink(temporary_.c_str());
    }
    HostPendingFile(const HostPendingFile&) = delete;
    HostPendingFile& operator=(const HostPendingFile&) = delete;

    Status write(std::string_view bytes) override { return write_all(fd_, bytes); }

    Status keep(ExistingFile existing) override {
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0) return device_error();
        if (existing == ExistingFile::replace) {
            if (fs::is_directory(destination_)) return failure(5, "Access denied");
            if (::rename(temporary_.c_str(), destination_.c_str()) != 0) return path_not_found();
        } else if (::link(temporary_.c_str(), destination_.c_str()) != 0) {
            return errno == EEXIST ? failure(80, "File already exists") : path_not_found();
        }
        return Status();
    }

private:
    fs::path temporary_;
    fs::path destination_;
    int fd_;
};

}  // namespace

HostFileSystem::HostFileSystem(fs::path root) : root_(std::move(root)) {
    fs::create_directories(root_ / "c" / "windows" / "system32");
}

fs::path HostFileSystem::host_path(const std::string& windows_path) const {
    char drive = 'c';
    const std::vector<std::string> parts = split_path(windows_path, drive);
    fs::path result = root_ / std::string(1, drive);
    for (const std::string& part : parts) {
        fs::path next = result / part;
        std::error_code ec;
        if (!fs::exists(next, ec) && fs::is_directory(result, ec)) {
            for (const auto& entry : fs::directory_iterator(result, ec)) {
                if (equals_ignoring_case(entry.path().filename().string(), part)) {
                    next = entry.path();
                    break;
                }
            }
        }
        result = next;
    }
    return result;
}

bool HostFileSystem::failing(const std::string& path) const {
    return failing_.count(upper(path)) != 0;
}

void HostFileSystem::fail_on(const std::string& windows_path) {
    failing_.insert(upper(windows_path));
}

Result<std::string> HostFileSystem::special_folder(int which) {
    if (which == 0) return std::string("C:\\windows");
    if (which == 1) return std::string("C:\\windows\\system32");
    return Status::failure("Invalid procedure call or argument");
}

Result<bool> HostFileSystem::file_exists(const std::string& path) {
    if (failing(path)) return device_error();
    std::error_code ec;
    return fs::is_regular_file(host_path(path), ec);
}

Result<bool> HostFileSystem::folder_exists(const std::string& path) {
    if (failing(path)) return device_error();
    std::error_code ec;
    // An empty path names no folder (Windows does not read it as the current one).
    return !path.empty() && fs::is_directory(host_path(path), ec);
}

Result<bool> HostFileSystem::matches_exist(const std::string& pattern) {
    if (failing(pattern)) return device_error();
    const std::size_t cut = pattern.find_last_of("\\/");
    const std::string folder = cut == std::string::npos ? std::string() : pattern.substr(0, cut);
    const std::string name = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
    std::error_code ec;
    if (name.empty()) return false;
    // A name without wildcards finds the entry it resolves to, as a path would.
    if (name.find_first_of("*?") == std::string::npos) return fs::exists(host_path(pattern), ec);
    const fs::path dir = host_path(folder.empty() ? "\\" : folder);
    if (!fs::is_directory(dir, ec)) return false;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (wildcard_match(name, entry.path().filename().string())) return true;
    }
    return false;
}

Result<std::vector<std::string>> HostFileSystem::list_files(const std::string& folder,
                                                             const std::string& pattern) {
    if (failing(folder)) return device_error();
    std::vector<std::string> names;
    std::error_code ec;
    const fs::path dir = host_path(folder);
    if (!fs::is_directory(dir, ec)) return names;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_directory(ec) && wildcard_match(pattern, name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

Status HostFileSystem::copy_file(const std::string& source, const std::string& destination) {
    if (failing(source) || failing(destination)) return device_error();
    std::error_code ec;
    const fs::path from = host_path(source);
    if (!fs::is_regular_file(from, ec)) return not_found();
    fs::copy_file(from, host_path(destination), fs::copy_options::none, ec);
    if (ec) return failure(5, "Permission denied");
    return Status();
}

Result<std::unique_ptr<ReadableFile>> HostFileSystem::open_for_reading(const std::string& path) {
    if (failing(path)) return device_error();
    const int fd = ::open(host_path(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return not_found();
    auto file = std::make_unique<HostReadableFile>(fd);
    struct stat st {};
    // Windows opens no folder as a file.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return failure(5, "Permission denied");
    return std::unique_ptr<ReadableFile>(std::move(file));
}

Result<std::unique_ptr<PendingFile>> HostFileSystem::create_pending_file(
    const std::string& destination) {
    if (failing(destination)) return device_error();
    static std::atomic<unsigned> counter{0};
    const fs::path target = host_path(destination);
    const fs::path temporary = target.parent_path() / ("tw" + std::to_string(::getpid()) + "-" +
                                                       std::to_string(counter++) + ".tmp");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return path_not_found();
    return std::unique_ptr<PendingFile>(std::make_unique<HostPendingFile>(temporary, target, fd));
}

void HostFileSystem::make_folder(const std::string& windows_path) {
    fs::create_directories(host_path(windows_path));
}

void HostFileSystem::make_file(const std::string& windows_path, const std::string& content) {
    const fs::path target = host_path(windows_path);
    fs::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << content;
}

}  // namespace tarnwell
