#include "platform/win32/win32_file_system.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "common/utf8.h"

#include "platform/wildcard_match.h"
#include "platform/win32/owned.h"
#include "platform/win32/win32_text.h"

namespace tarnwell {

namespace {

// Paths are UTF-8 inside and UTF-16 at the wide calls; a text that is not UTF-8 has no
// wide form.
std::optional<std::wstring> wide_from_utf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), length);
    return wide;
}

std::string utf8_from_wide(const wchar_t* text) {
    std::u16string wide;
    for (; *text != L'\0'; ++text) wide += static_cast<char16_t>(*text);
    return utf8_from_utf16(wide);
}

// A file open for reading through a kernel32 handle.
class Win32ReadableFile : public ReadableFile {
public:
    explicit Win32ReadableFile(OwnedHandle file) : file_(std::move(file)) {}

    Result<std::uint64_t> size() override {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file_.get(), &size)) return last_error_status();
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    Result<std::size_t> read(char* buffer, std::size_t n) override {
        // One call reads at most 4 GiB - 1 bytes (a DWORD); the caller asks again.
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, MAXDWORD));
        DWORD got = 0;
        if (!ReadFile(file_.get(), buffer, want, &got, nullptr)) return last_error_status();
        return static_cast<std::size_t>(got);
    }

private:
    OwnedHandle file_;
};

// A file written under a temporary name of its own, beside its destination.
class Win32PendingFile : public PendingFile {
public:
    Win32PendingFile(std::wstring temporary, std::wstring destination, OwnedHandle file)
        : temporary_(std::move(temporary)),
          destination_(std::move(destination)),
          file_(std::move(file)) {}
    ~Win32PendingFile() override {
        if (kept_) return;
        file_.reset();
        DeleteFileW(temporary_.c_str());
    }
    Win32PendingFile(const Win32PendingFile&) = delete;
    Win32PendingFile& operator=(const Win32PendingFile&) = delete;

    Status write(std::string_view bytes) override { return write_all(file_.get(), bytes); }

    Status keep(ExistingFile existing) override {
        // Closing reports a write the system had deferred.
        if (!file_.reset()) return last_error_status();
        // Without MOVEFILE_REPLACE_EXISTING the move refuses a file at the destination.
        const DWORD replace = existing == ExistingFile::replace ? MOVEFILE_REPLACE_EXISTING : 0;
        if (!MoveFileExW(temporary_.c_str(), destination_.c_str(),
                         MOVEFILE_WRITE_THROUGH | replace))
            return last_error_status();
        kept_ = true;
        return Status();
    }

private:
    std::wstring temporary_;
    std::wstring destination_;
    OwnedHandle file_;
    bool kept_ = false;
};

DWORD attributes(const std::string& path) {
    return GetFileAttributesW(file_call_path(path).c_str());
}

// Whether the path names an entry of the kind `directory`. A name that is not there is
// no failure, only an answer.
Result<bool> is_entry(const std::string& path, bool directory) {
    const DWORD found = attributes(path);
    if (found == INVALID_FILE_ATTRIBUTES) return false;
    return ((found & FILE_ATTRIBUTE_DIRECTORY) != 0) == directory;
}

// The folder part of a path with its separator, for a file to be made beside it (".\"
// for a bare name).
std::string folder_of(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? ".\\" : path.substr(0, cut + 1);
}

// Makes a new file "tw" + a number + ".tmp" in the folder, under a name no entry has
// yet, open for writing; its name goes into `made`. The name is made here rather than by
// GetTempFileName, which takes a folder of at most MAX_PATH - 14 characters.
Result<OwnedHandle> create_temporary_file(const std::string& folder, std::wstring& made) {
    const DWORD start = GetTickCount() ^ GetCurrentProcessId();
    for (DWORD attempt = 0; attempt < 0x10000; ++attempt) {
        char name[16];
        std::snprintf(name, sizeof name, "tw%lX.tmp",
                      static_cast<unsigned long>((start + attempt) & 0xFFFF));
        made = file_call_path(folder + name);
        OwnedHandle file(CreateFileW(made.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return file;
        const Status failure = last_error_status();
        if (failure != ERROR_FILE_EXISTS && failure != ERROR_ALREADY_EXISTS) return failure;
    }
    return Status(ERROR_FILE_EXISTS, system_error_text(ERROR_FILE_EXISTS));
}

}  // namespace

std::wstring file_call_path(const std::string& path) {
    std::wstring given = wide(path);
    if (given.size() < MAX_PATH || given.rfind(L"\\\\?\\", 0) == 0 ||
        given.rfind(L"\\\\.\\", 0) == 0)
        return given;
    const DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0) return given;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return given;
    full.resize(length);
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

Status write_all(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return last_error_status();
        if (written == 0) return Status(ERROR_WRITE_FAULT, system_error_text(ERROR_WRITE_FAULT));
        bytes.remove_prefix(written);
    }
    return Status();
}

Result<std::string> Win32FileSystem::special_folder(int which) {
    wchar_t buffer[MAX_PATH + 1] = {};
    UINT length = 0;
    if (which == 0) {
        length = GetWindowsDirectoryW(buffer, MAX_PATH);
    } else if (which == 1) {
        length = GetSystemDirectoryW(buffer, MAX_PATH);
    } else {
        return Status::failure("Invalid procedure call or argument");
    }
    if (length == 0 || length > MAX_PATH) return last_error_status();
    std::string path = narrow(std::wstring_view(buffer, length));
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

Result<bool> Win32FileSystem::file_exists(const std::string& path) { return is_entry(path, false); }

Result<bool> Win32FileSystem::folder_exists(const std::string& path) {
    return is_entry(path, true);
}

Result<bool> Win32FileSystem::matches_exist(const std::string& pattern) {
    const std::string name_pattern = file_name_of(pattern);
    WIN32_FIND_DATAW found;
    const OwnedFindHandle search(FindFirstFileW(file_call_path(pattern).c_str(), &found));
    if (!search) return false;
    // A name without wildcards is the entry found, whatever spelling reached it
    // ("a.reg." finds "a.reg": Windows drops trailing dots and spaces). With wildcards
    // the search also matches short 8.3 names ("EPSG*.mdb" would find "EPSG1.mdbx"
    // through its short name), so each long name found is checked again.
    if (name_pattern.find_first_of("*?") == std::string::npos) return true;
    do {
        if (wildcard_match(name_pattern, narrow(found.cFileName))) return true;
    } while (FindNextFileW(search.get(), &found));
    return false;
}

Result<std::vector<std::string>> Win32FileSystem::list_files(const std::string& folder,
                                                              const std::string& pattern) {
    if (!wide_from_utf8(folder)) return Status::failure("The folder name is not UTF-8: " + folder);
    const std::wstring search_path = file_call_path(folder + "\\" + pattern);
    WIN32_FIND_DATAW found = {};
    const OwnedFindHandle search(FindFirstFileExW(search_path.c_str(), FindExInfoBasic, &found,
                                                  FindExSearchNameMatch, nullptr, 0));
    std::vector<std::string> names;
    if (!search) {
        const Status failure = last_error_status();
        if (failure == ERROR_FILE_NOT_FOUND || failure == ERROR_PATH_NOT_FOUND) return names;
        return failure;
    }
    do {
        // The search also matches short 8.3 names ("report.jsonx" as REPORT~1.JSO), so
        // each long name found is checked again.
        const std::string name = utf8_from_wide(found.cFileName);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wildcard_match(pattern, name))
            names.push_back(name);
    } while (FindNextFileW(search.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

Status Win32FileSystem::copy_file(const std::string& source, const std::string& destination) {
    if (!CopyFileW(file_call_path(source).c_str(), file_call_path(destination).c_str(), TRUE))
        return last_error_status();
    return Status();
}

Result<std::unique_ptr<ReadableFile>> Win32FileSystem::open_for_reading(const std::string& path) {
    // OPEN_EXISTING: a missing file is an error, never created; a folder cannot be
    // opened without backup semantics, so it is refused too.
    OwnedHandle file(CreateFileW(file_call_path(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return last_error_status();
    return std::unique_ptr<ReadableFile>(std::make_unique<Win32ReadableFile>(std::move(file)));
}

Result<std::unique_ptr<PendingFile>> Win32FileSystem::create_pending_file(
    const std::string& destination) {
    std::wstring temporary;
    Result<OwnedHandle> file = create_temporary_file(folder_of(destination), temporary);
    if (!file.ok()) return file.status();
    return std::unique_ptr<PendingFile>(
        std::make_unique<Win32PendingFile>(temporary, file_call_path(destination),
                                           std::move(file).value()));
}

}  // namespace tarnwell
