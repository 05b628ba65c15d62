#pragma once
// A whole file's bytes in one buffer, and the read that fills it. The buffer is
// allocated once at the file's size and left uninitialised, and one read call fills
// it, so that reading a file costs what the system's read costs and no more.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace tarnwell {

class FileBytes {
public:
    // A buffer of size bytes whose content is undefined until it is written.
    explicit FileBytes(std::size_t size) : data_(new char[size]), size_(size) {}

    char* data() { return data_.get(); }
    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }

private:
    friend Result<FileBytes> read_whole_file(FileSystem&, const std::string&, std::uint64_t);
    std::unique_ptr<char[]> data_;
    std::size_t size_;
};

// The failure of a read refused for the file's size.
inline Status file_too_large(std::uint64_t size, std::uint64_t size_limit) {
    return Status::failure("File too large to read: " + std::to_string(size) +
                           " bytes, more than the limit of " + std::to_string(size_limit) +
                           " bytes");
}

// Reads the whole file at path, opened for reading only, into a buffer of its size. A
// file larger than size_limit bytes is refused from its size alone, before any buffer is
// allocated; a file that shrinks while it is read gives the bytes it still had.
inline Result<FileBytes> read_whole_file(FileSystem& files, const std::string& path,
                                         std::uint64_t size_limit) {
    Result<std::unique_ptr<ReadableFile>> file = files.open_for_reading(path);
    if (!file.ok()) return file.status();
    const Result<std::uint64_t> size = (*file)->size();
    if (!size.ok()) return size.status();
    if (*size > size_limit) return file_too_large(*size, size_limit);
    FileBytes bytes(static_cast<std::size_t>(*size));
    const Result<std::size_t> got = read_fully(**file, bytes.data(), bytes.size());
    if (!got.ok()) return got.status();
    bytes.size_ = *got;
    return bytes;
}

}  // namespace tarnwell
