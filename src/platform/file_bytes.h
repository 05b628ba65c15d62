#pragma once
// A whole file's bytes in one buffer, and the read that fills it. The buffer is
// allocated once at the file's size and left uninitialised, and one read call fills
// it, so that reading a file costs what the system's read costs and no more.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace tarnwell {

class FileBytes {
public:
    // A buffer of size bytes whose content is undefined until it is written.
    explicit FileBytes(std::size_t size) : data_(new char[size]), size_(size) {}

    char* data() { return data_.get(); }
    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    // Drops the bytes from n on from the content (the buffer stays as it is).
    void truncate(std::size_t n) {
        if (n < size_) size_ = n;
    }

private:
    std::unique_ptr<char[]> data_;
    std::size_t size_;
};

// The failure of a read refused for the file's size.
inline run_time_error file_too_large(std::uint64_t size, std::uint64_t size_limit) {
    return run_time_error("File too large to read: " + std::to_string(size) +
                          " bytes, more than the limit of " + std::to_string(size_limit) +
                          " bytes");
}

// Reads from the file until n bytes are in buffer or the file ends (it may have shrunk
// since its size was taken); returns the count read. A regular file gives them all to
// the first call.
inline std::size_t read_fully(ReadableFile& file, char* buffer, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const std::size_t got = file.read(buffer + done, n - done);
        if (got == 0) break;
        done += got;
    }
    return done;
}

// Reads the whole file at path. A file larger than size_limit bytes is refused from
// its size alone, before any buffer is allocated. A file that shrinks while it is read
// gives the bytes it still had.
inline FileBytes read_whole_file(FileSystem& files, const std::string& path,
                                 std::uint64_t size_limit) {
    const std::unique_ptr<ReadableFile> file = files.open_for_reading(path);
    const std::uint64_t size = file->size();
    if (size > size_limit) throw file_too_large(size, size_limit);
    FileBytes bytes(static_cast<std::size_t>(size));
    bytes.truncate(read_fully(*file, bytes.data(), bytes.size()));
    return bytes;
}

}  // namespace tarnwell
