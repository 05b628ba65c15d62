#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "platform/file_bytes.h"
#include "platform/run_time_error.h"
#include "platform/wildcard_match.h"
#include "platform/win32/win32_text.h"

namespace tarnwell {

namespace {

[[noreturn]] void raise_last_error() { throw run_time_error(system_error_text(GetLastError())); }

// Closes a file handle when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Closes the handle now; false when closing reported a failure (a write the system
    // had deferred).
    bool close() {
        const bool closed = !valid() || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

void write_all(HANDLE file, std::string_view text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, text.data() + done, chunk, &written, nullptr)) raise_last_error();
        done += written;
    }
}

// A file open for reading through a kernel32 handle.
class Win32ReadableFile : public ReadableFile {
public:
    explicit Win32ReadableFile(HANDLE handle) : file_(handle) {}

    std::uint64_t size() override {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file_.get(), &size)) raise_last_error();
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    std::size_t read(char* buffer, std::size_t n) override {
        // One call reads at most 4 GiB - 1 bytes (a DWORD); the caller asks again.
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, MAXDWORD));
        DWORD got = 0;
        if (!ReadFile(file_.get(), buffer, want, &got, nullptr)) raise_last_error();
        return got;
    }

private:
    FileHandle file_;
};

DWORD attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// The folder part of a path with its separator, for a file to be made beside it ("."
// for a bare name).
std::string folder_of(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? "." : path.substr(0, cut + 1);
}

// A file written under the unique name GetTempFileName gave it, beside its destination.
class Win32PendingFile : public PendingFile {
public:
    Win32PendingFile(std::string temporary, std::string destination, HANDLE handle)
        : temporary_(std::move(temporary)), destination_(std::move(destination)), file_(handle) {}
    ~Win32PendingFile() override {
        if (kept_) return;
        file_.close();
        DeleteFileA(temporary_.c_str());
    }
    Win32PendingFile(const Win32PendingFile&) = delete;
    Win32PendingFile& operator=(const Win32PendingFile&) = delete;

    void write(std::string_view bytes) override { write_all(file_.get(), bytes); }

    void keep() override {
        if (!file_.close()) raise_last_error();
        // Without MOVEFILE_REPLACE_EXISTING the move refuses a file at the destination.
        if (!MoveFileExA(temporary_.c_str(), destination_.c_str(), MOVEFILE_WRITE_THROUGH))
            raise_last_error();
        kept_ = true;
    }

private:
    std::string temporary_;
    std::string destination_;
    FileHandle file_;
    bool kept_ = false;
};

}  // namespace

std::string Win32FileSystem::special_folder(int which) {
    char buffer[MAX_PATH + 1] = {};
    UINT length = 0;
    if (which == 0) {
        length = GetWindowsDirectoryA(buffer, MAX_PATH);
    } else if (which == 1) {
        length = GetSystemDirectoryA(buffer, MAX_PATH);
    } else {
        throw run_time_error("Invalid procedure call or argument");
    }
    if (length == 0 || length > MAX_PATH) raise_last_error();
    std::string path(buffer, length);
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

bool Win32FileSystem::file_exists(const std::string& path) {
    const DWORD found = attributes(path);
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::folder_exists(const std::string& path) {
    const DWORD found = attributes(path);
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Win32FileSystem::file_name(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool Win32FileSystem::matches_exist(const std::string& pattern) {
    const std::size_t cut = pattern.find_last_of("\\/:");
    const std::string name_pattern = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    // A name without wildcards is the entry found, whatever spelling reached it
    // ("a.reg." finds "a.reg": Windows drops trailing dots and spaces). With wildcards
    // the search also matches short 8.3 names ("EPSG*.mdb" would find "EPSG1.mdbx"
    // through its short name), so each long name found is checked again.
    bool matched = name_pattern.find_first_of("*?") == std::string::npos;
    while (!matched) {
        matched = wildcard_match(name_pattern, found.cFileName);
        if (!matched && !FindNextFileA(search, &found)) break;
    }
    FindClose(search);
    return matched;
}

void Win32FileSystem::copy_file(const std::string& source, const std::string& destination) {
    if (!CopyFileA(source.c_str(), destination.c_str(), TRUE)) raise_last_error();
}

std::string Win32FileSystem::read_file(const std::string& path) {
    const std::unique_ptr<ReadableFile> file = open_for_reading(path);
    const std::uint64_t size = file->size();
    if (size > static_cast<std::uint64_t>(INT_MAX)) throw run_time_error("Out of memory");
    std::string content(static_cast<std::size_t>(size), '\0');
    content.resize(read_fully(*file, &content[0], content.size()));
    return content;
}

std::unique_ptr<ReadableFile> Win32FileSystem::open_for_reading(const std::string& path) {
    // OPEN_EXISTING: a missing file is an error, never created; a folder cannot be
    // opened without backup semantics, so it is refused too.
    const HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) raise_last_error();
    return std::make_unique<Win32ReadableFile>(handle);
}

void Win32FileSystem::create_file(const std::string& path, const std::string& text) {
    // CREATE_NEW: an existing file is refused by the same call that would make the
    // new one, so nothing written meanwhile can be replaced.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) raise_last_error();
    write_all(file.get(), text);
}

std::unique_ptr<PendingFile> Win32FileSystem::create_pending_file(const std::string& destination) {
    char temporary[MAX_PATH] = {};
    // Makes the file under a name no other file has.
    if (!GetTempFileNameA(folder_of(destination).c_str(), "tw", 0, temporary)) raise_last_error();
    const HANDLE handle = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD failure = GetLastError();
        DeleteFileA(temporary);
        throw run_time_error(system_error_text(failure));
    }
    return std::make_unique<Win32PendingFile>(temporary, destination, handle);
}

}  // namespace tarnwell
