#include "windows_api/windows_api.h"

#include <chrono>
#include <memory>
#include <stdexcept>

#include "anchor_read.h"
#include "platform/win32/owned.h"
#include "platform/win32/win32_text.h"

namespace tarnwell::bench {

double time_raw_read(const std::string& path, std::uint64_t& size) {
    std::unique_ptr<char[]> buffer;
    const auto start = std::chrono::steady_clock::now();
    OwnedHandle owned_file(CreateFileW(wide(path).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!owned_file) throw std::runtime_error("cannot open " + path);
    const HANDLE file = owned_file.get();
    LARGE_INTEGER file_size;
    GetFileSizeEx(file, &file_size);
    size = static_cast<std::uint64_t>(file_size.QuadPart);
    buffer.reset(new char[static_cast<std::size_t>(size)]);
    DWORD got = 0;
    const BOOL read = ReadFile(file, buffer.get(), static_cast<DWORD>(size), &got, nullptr);
    // Closed inside the timed span, as every reader closes its file.
    owned_file.reset();
    const auto end = std::chrono::steady_clock::now();
    if (!read || got != size) throw std::runtime_error("short read of " + path);
    return std::chrono::duration<double>(end - start).count();
}

}  // namespace tarnwell::bench
