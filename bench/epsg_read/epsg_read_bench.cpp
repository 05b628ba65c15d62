// epsg_read_bench ROW FILE RUNS      timings, RUNS of each, interleaved
// epsg_read_bench ROW FILE --memory  one read in a fresh process: peak memory
//
// Reads a definitions file the way the Test command does (through the product's file
// layer into a store) and, as the anchor, reads the same file with one read call into
// a buffer nothing has touched. Prints machine-readable lines for scripts/bench.sh,
// tab-separated:
//   row     ROW  rate  BYTES  FIGURE-LABEL  ANCHOR-LABEL
//   sample  ROW  figure|anchor  SECONDS
//   note    ROW  TEXT
// Two rows share the reader's samples: ROW against the read call alone, ROW-touched
// against the read call followed by a read of one byte of each page of the buffer.
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

    // One read into a fresh store, as on the first click; the store is freed after the
    // clock stops.
    double time_read(std::unique_ptr<EpsgStore>& store) {
        store = std::make_unique<EpsgStore>();
        const auto start = std::chrono::steady_clock::now();
        const DefinitionsRead read = read_definitions_file(system.platform().files, path, *store);
        const auto end = std::chrono::steady_clock::now();
        if (!read.status.ok()) throw std::runtime_error(read.status.description());
        return std::chrono::duration<double>(end - start).count();
    }
};

// Bytes of the tables themselves, besides the file's bytes they point into: one
// offset per record, the integer table and the section-9 list.
std::uint64_t table_bytes(const EpsgStore& store) {
    std::uint64_t bytes = 0;
    for (const EpsgSection& section : store.sections)
        bytes += 4 * section.size();
    return bytes + 16 * store.integer_table.rows.size() + 4 * store.section9_list.size();
}

double mib(std::uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

void print_timings(const std::string& row, const std::string& file, int runs) {
    using bench::AfterRead;
    Reader reader(file);
    std::unique_ptr<EpsgStore> store;
    std::uint64_t size = 0;
    bench::time_raw_read(file, size, AfterRead::nothing);  // brings the file into the cache
    reader.time_read(store);
    const std::string touched = row + "-touched";
    const auto size_text = static_cast<unsigned long long>(size);
    std::printf("row\t%s\trate\t%llu\tdefinitions reader\tone read call\n", row.c_str(), size_text);
    std::printf("row\t%s\trate\t%llu\tdefinitions reader\tone read call, one byte per page\n",
                touched.c_str(), size_text);
    for (int i = 0; i < runs; ++i) {
        const double plain = bench::time_raw_read(file, size, AfterRead::nothing);
        const double figure = reader.time_read(store);
        const double paged = bench::time_raw_read(file, size, AfterRead::touch_each_page);
        std::printf("sample\t%s\tanchor\t%.6f\n", row.c_str(), plain);
        std::printf("sample\t%s\tfigure\t%.6f\n", row.c_str(), figure);
        std::printf("sample\t%s\tanchor\t%.6f\n", touched.c_str(), paged);
        std::printf("sample\t%s\tfigure\t%.6f\n", touched.c_str(), figure);
        std::fflush(stdout);
    }
}

void print_memory(const std::string& row, const std::string& file) {
    Reader reader(file);
    std::unique_ptr<EpsgStore> store;
    const std::uint64_t before = bench::peak_memory_bytes();
    reader.time_read(store);
    const std::uint64_t growth = bench::peak_memory_bytes() - before;
    std::uint64_t size = 0;
    bench::time_raw_read(file, size, bench::AfterRead::nothing);
    const std::uint64_t tables = table_bytes(*store);
    std::printf(
        "note\t%s\tpeak memory of one read %.1f MiB = %.3f x (file %.1f MiB + tables "
        "%.1f MiB)\n",
        row.c_str(), mib(growth), static_cast<double>(growth) / static_cast<double>(size + tables),
        mib(size), mib(tables));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: epsg_read_bench ROW FILE RUNS|--memory\n");
        return 2;
    }
    try {
        const std::string mode = argv[3];
        if (mode == "--memory") {
            print_memory(argv[1], argv[2]);
        } else {
            print_timings(argv[1], argv[2], std::max(1, std::atoi(argv[3])));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "epsg_read_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
