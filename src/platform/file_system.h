#pragma once
// The file layer: special folders, existence tests, pattern search, copy, files opened
// for reading, new files, and files that reach their name only when they are whole.
// Paths are Windows paths in the ANSI code page. A call that fails returns the Status
// of the system call that failed, with the system's description.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/status.h"

namespace tarnwell {

// A file opened for reading only, closed when the object goes.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    // The file's size in bytes.
    virtual Result<std::uint64_t> size() = 0;
    // Reads up to n bytes at the current position into buffer and moves past them;
    // how many were read, 0 at the end of the file.
    virtual Result<std::size_t> read(char* buffer, std::size_t n) = 0;
};

// What becomes of a file that stands at a new file's name already.
enum class ExistingFile { refuse, replace };

// A new file written under a temporary name in the folder of its destination, so that
// nothing stands at the destination until the whole file does. Dropped before it is
// kept, it is removed.
class PendingFile {
public:
    virtual ~PendingFile() = default;
    virtual Status write(std::string_view bytes) = 0;
    // Closes the file and moves it to its destination in one step. With `refuse` an
    // entry there, even one that appeared meanwhile, makes this fail; with `replace` a
    // file there gives way to the new one only now that the new one is whole.
    virtual Status keep(ExistingFile existing) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Special folder 0 is the Windows folder, 1 the system folder; no trailing "\".
    virtual Result<std::string> special_folder(int which) = 0;
    // True when a file (not a folder) is at the path.
    virtual Result<bool> file_exists(const std::string& path) = 0;
    // True when a folder is at the path.
    virtual Result<bool> folder_exists(const std::string& path) = 0;
    // True when a directory search for the pattern (which may end in a name with
    // "*" and "?" wildcards, matched without regard to letter case) finds an entry.
    virtual Result<bool> matches_exist(const std::string& pattern) = 0;
    // The names of the files (not folders) in the folder whose names match the pattern,
    // a name with "*" and "?" wildcards matched without regard to letter case against
    // long names only, in name order; an empty list when none matches or the folder is
    // not there. The folder and the names are UTF-8; Windows is asked with wide calls.
    virtual Result<std::vector<std::string>> list_files(const std::string& folder,
                                                        const std::string& pattern) = 0;
    // Copies a file; never replaces an existing destination.
    virtual Status copy_file(const std::string& source, const std::string& destination) = 0;
    // Opens an existing file (not a folder) for reading only; never creates one.
    virtual Result<std::unique_ptr<ReadableFile>> open_for_reading(const std::string& path) = 0;
    // Starts a new file for `destination` (see PendingFile).
    virtual Result<std::unique_ptr<PendingFile>> create_pending_file(
        const std::string& destination) = 0;
};

// The text after the last path separator ("\", "/" or ":"), or the whole path.
std::string file_name_of(const std::string& path);

// True when Windows takes the path for a device rather than a file: a name in the
// device namespace ("\\.\COM1"), or a last part that is a reserved device name (CON,
// PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, also with the digits 0 and ¹ ² ³, CONIN$,
// CONOUT$) in any letter case, alone or before an extension, blanks or dots.
bool names_a_device(const std::string& path);

// Writes a file that holds the text through a pending file, so that a file stands at the
// path only with the whole text; kept as `existing` says.
Status write_file(FileSystem& files, const std::string& path, std::string_view text,
                  ExistingFile existing = ExistingFile::refuse);

// Reads from the file until n bytes are in buffer or the file ends (it may have shrunk
// since its size was taken); how many were read.
Result<std::size_t> read_fully(ReadableFile& file, char* buffer, std::size_t n);

}  // namespace tarnwell
