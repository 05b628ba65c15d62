#pragma once
// The definitions-reader benchmark's anchor: one read call of a whole file into a
// buffer nothing has touched, with the system's own calls; and the process's peak
// memory.
#include <cstdint>
#include <string>

namespace tarnwell::bench {

// How far the anchor goes after its read call.
enum class AfterRead { nothing, touch_each_page };

// Opens the file (a path of this system), allocates a buffer of its size without
// initialising it, reads the file into it with one read call and closes it; then, if
// asked, reads one byte of each 4 KiB page of the buffer, the least any reader of the
// bytes must do. Returns the seconds this took and sets size to the file's size. The
// buffer is freed after the clock stops.
double time_raw_read(const std::string& path, std::uint64_t& size, AfterRead after);

// Where touch_each_page leaves its sum, so that its reads are not left out.
inline volatile unsigned touched_sum = 0;

// Reads one byte of each 4 KiB page of the buffer.
inline void touch_each_page(const char* buffer, std::uint64_t size) {
    unsigned sum = 0;
    for (std::uint64_t i = 0; i < size; i += 4096)
        sum += static_cast<unsigned char>(buffer[i]);
    touched_sum = sum;
}

// The most memory the process has had in use so far, in bytes.
std::uint64_t peak_memory_bytes();

}  // namespace tarnwell::bench
