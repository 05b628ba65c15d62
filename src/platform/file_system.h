#pragma once
// The file-system object and the file layer: special folders, existence tests, the
// file-name part of a path, pattern search, copy, whole-file reads, new files and files
// that reach their name only when they are whole.
// Paths are Windows paths in the ANSI code page. Failures are raised as
// run_time_error with a description of the cause.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tarnwell {

// A file opened for reading only, closed when the object goes. Failures raise
// run_time_error with the system's description.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    // The file's size in bytes.
    virtual std::uint64_t size() = 0;
    // Reads up to n bytes at the current position into buffer and moves past them;
    // returns how many were read, 0 at the end of the file.
    virtual std::size_t read(char* buffer, std::size_t n) = 0;
};

// A new file written under a temporary name in the folder of its destination, so that
// nothing stands at the destination until the whole file does. Dropped before it is
// kept, it is removed. Failures raise run_time_error with the system's description.
class PendingFile {
public:
    virtual ~PendingFile() = default;
    virtual void write(std::string_view bytes) = 0;
    // Closes the file and moves it to its destination, which it never replaces: a file
    // that appeared there meanwhile makes this raise.
    virtual void keep() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Special folder 0 is the Windows folder, 1 the system folder; no trailing "\".
    virtual std::string special_folder(int which) = 0;
    // True when a file (not a folder) is at the path.
    virtual bool file_exists(const std::string& path) = 0;
    // True when a folder is at the path.
    virtual bool folder_exists(const std::string& path) = 0;
    // The text after the last path separator ("\" or "/"), or the whole path.
    virtual std::string file_name(const std::string& path) = 0;
    // True when a directory search for the pattern (which may end in a name with
    // "*" and "?" wildcards, matched without regard to letter case) finds an entry.
    virtual bool matches_exist(const std::string& pattern) = 0;
    // Copies a file; never replaces an existing destination.
    virtual void copy_file(const std::string& source, const std::string& destination) = 0;
    // The whole content of a file, opened for reading only.
    virtual std::string read_file(const std::string& path) = 0;
    // Opens an existing file (not a folder) for reading only; never creates one.
    virtual std::unique_ptr<ReadableFile> open_for_reading(const std::string& path) = 0;
    // Creates a new file and writes the text to it. Raises when an entry of that name
    // already exists: an existing file is never replaced.
    virtual void create_file(const std::string& path, const std::string& text) = 0;
    // Starts a new file for `destination` (see PendingFile).
    virtual std::unique_ptr<PendingFile> create_pending_file(const std::string& destination) = 0;
};

}  // namespace tarnwell
