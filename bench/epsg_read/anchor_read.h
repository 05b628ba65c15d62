#pragma once
// The definitions-reader benchmark's anchor: one read call of a whole file into a
// buffer nothing has touched, with the system's own calls.
#include <cstdint>
#include <string>

namespace tarnwell::bench {

// Opens the file (a path of this system), allocates a buffer of its size without
// initialising it, reads the file into it with one read call and closes it. Returns the
// seconds this took and sets size to the file's size. The buffer is freed after the
// clock stops.
double time_raw_read(const std::string& path, std::uint64_t& size);

}  // namespace tarnwell::bench
