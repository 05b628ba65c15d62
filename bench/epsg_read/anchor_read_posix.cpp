#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <stdexcept>

#include "anchor_read.h"

namespace tarnwell::bench {

// The host twin finds C:\definitions.dat under its root: a link to the file.
double time_raw_read(const std::string& path, std::uint64_t& size) {
    std::unique_ptr<char[]> buffer;
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    struct stat st {};
    ::fstat(fd, &st);
    size = static_cast<std::uint64_t>(st.st_size);
    buffer.reset(new char[static_cast<std::size_t>(size)]);
    const ssize_t got = ::read(fd, buffer.get(), size);
    ::close(fd);
    const auto end = std::chrono::steady_clock::now();
    if (got != static_cast<ssize_t>(size)) throw std::runtime_error("short read of " + path);
    return std::chrono::duration<double>(end - start).count();
}

}  // namespace tarnwell::bench
