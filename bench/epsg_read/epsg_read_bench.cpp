// epsg_read_bench ROW FILE RUNS      timings, RUNS of each, interleaved
//
// Reads a definitions file the way the Test command does (through the product's file
// layer, then the reader's pass over its bytes) and, as the anchor, reads the same file
// with one read call into a buffer nothing has touched. Prints machine-readable lines
// for scripts/bench.sh, tab-separated:
//   row     ROW  rate  BYTES  FIGURE-LABEL  ANCHOR-LABEL
//   sample  ROW  figure|anchor  SECONDS
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "anchor_read.h"
#include "epsg/epsg_reader.h"
#include "platform/system_platform.h"

using namespace tarnwell;

namespace {

// The product's file layer, reading the file as the Test command does.
struct Reader {
    SystemPlatform system;
    std::string path;

    explicit Reader(const std::string& file) : path(file_layer_path(system, file)) {}

    double time_read() {
        const auto start = std::chrono::steady_clock::now();
        const Status read = read_definitions_file(system.platform().files, path);
        const auto end = std::chrono::steady_clock::now();
        if (!read.ok()) throw std::runtime_error(read.description());
        return std::chrono::duration<double>(end - start).count();
    }
};

void print_timings(const std::string& row, const std::string& file, int runs) {
    Reader reader(file);
    std::uint64_t size = 0;
    bench::time_raw_read(file, size);  // brings the file into the cache
    reader.time_read();
    std::printf("row\t%s\trate\t%llu\tdefinitions reader\tone read call\n", row.c_str(),
                static_cast<unsigned long long>(size));
    for (int i = 0; i < runs; ++i) {
        const double anchor = bench::time_raw_read(file, size);
        const double figure = reader.time_read();
        std::printf("sample\t%s\tanchor\t%.6f\n", row.c_str(), anchor);
        std::printf("sample\t%s\tfigure\t%.6f\n", row.c_str(), figure);
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: epsg_read_bench ROW FILE RUNS\n");
        return 2;
    }
    try {
        print_timings(argv[1], argv[2], std::max(1, std::atoi(argv[3])));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "epsg_read_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
