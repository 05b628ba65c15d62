#include "platform/file_system.h"

namespace tarnwell {

std::string file_name_of(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

Status write_file(FileSystem& files, const std::string& path, std::string_view text,
                  ExistingFile existing) {
    Result<std::unique_ptr<PendingFile>> file = files.create_pending_file(path);
    if (!file.ok()) return file.status();
    if (Status written = (*file)->write(text); !written.ok()) return written;
    return (*file)->keep(existing);
}

Result<std::size_t> read_fully(ReadableFile& file, char* buffer, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const Result<std::size_t> got = file.read(buffer + done, n - done);
        if (!got.ok()) return got.status();
        if (*got == 0) break;
        done += *got;
    }
    return done;
}

}  // namespace tarnwell
