// epsg_read_bench FILE [RUNS]
//
// Reads a definitions file the way the Test command does (the whole file into memory
// with one read call, then the reader over the bytes into a store that lives on from
// run to run) and prints its rate next to the rate of the read call alone on the same
// file, and the rate of the parse over the bytes in memory on its own. Runs alternate
// between the two; the medians are printed. Without FILE, a file of 110 MB with
// made-up texts is written to the temporary folder first.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "epsg/epsg_reader.h"
#include "epsg_writer/epsg_writer.h"
#include "platform/run_time_error.h"

using namespace tarnwell;
using Clock = std::chrono::steady_clock;

namespace {

// Opens the file and reads all of it into the buffer with one read call (a second one
// only if the system returns less).
std::size_t read_whole(const std::string& path, char* (*make_buffer)(std::size_t, void*),
                       void* owner) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    struct stat st {};
    ::fstat(fd, &st);
    const auto size = static_cast<std::size_t>(st.st_size);
    char* buffer = make_buffer(size, owner);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, buffer + done, size - done);
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (done != size) throw std::runtime_error("short read of " + path);
    return size;
}

// The rate of the read call alone, into a fresh buffer that nothing initialised.
double time_plain_read(const std::string& path, std::size_t& size) {
    std::unique_ptr<char[]> buffer;
    const auto start = Clock::now();
    size = read_whole(
        path,
        [](std::size_t n, void* owner) {
            auto& b = *static_cast<std::unique_ptr<char[]>*>(owner);
            b.reset(new char[n]);
            return b.get();
        },
        &buffer);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The Test command's read: the bytes into a string as the file layer returns them,
// then the reader into the program's store. parse_seconds is the reader's share.
double time_definitions_read(const std::string& path, EpsgStore& store, double& parse_seconds) {
    const auto start = Clock::now();
    std::string bytes;
    read_whole(
        path,
        [](std::size_t n, void* owner) {
            auto& s = *static_cast<std::string*>(owner);
            s.resize(n);
            return &s[0];
        },
        &bytes);
    const auto parse_start = Clock::now();
    std::int32_t stage = 0;
    read_epsg_definitions(std::make_shared<const std::string>(std::move(bytes)), store, stage);
    const auto end = Clock::now();
    parse_seconds = std::chrono::duration<double>(end - parse_start).count();
    return std::chrono::duration<double>(end - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string write_made_up_file() {
    epsg_writer::FilePlan plan;
    plan.counts = epsg_writer::epsg_dataset_counts;
    plan.integer_count = 999;
    plan.texts = epsg_writer::synthetic_texts();
    const std::string path =
        (std::filesystem::temp_directory_path() / "epsg_read_bench.dat").string();
    const std::string bytes = epsg_writer::write_file_of_size(plan, 110u << 20).bytes;
    std::ofstream(path, std::ios::binary).write(bytes.data(),
                                               static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string path = argc > 1 ? argv[1] : write_made_up_file();
        const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
        EpsgStore store;
        std::size_t size = 0;
        std::vector<double> plain, ours, parse;
        time_plain_read(path, size);  // brings the file into the page cache
        for (int i = 0; i < runs; ++i) {
            plain.push_back(time_plain_read(path, size));
            double parse_seconds = 0;
            ours.push_back(time_definitions_read(path, store, parse_seconds));
            parse.push_back(parse_seconds);
        }
        const double mb = static_cast<double>(size) / (1024.0 * 1024.0);
        const double plain_rate = mb / median(plain);
        const double our_rate = mb / median(ours);
        std::size_t records = 0;
        for (const EpsgSection& section : store.sections) records += section.size();
        std::printf("file: %s, %.1f MB, %zu records, %d runs each\n", path.c_str(), mb, records,
                    runs);
        std::printf("one read call:        %8.0f MB/s (median %.1f ms)\n", plain_rate,
                    median(plain) * 1000);
        std::printf("definitions reader:   %8.0f MB/s (median %.1f ms)\n", our_rate,
                    median(ours) * 1000);
        std::printf("  of which the parse: %8.0f MB/s (median %.1f ms)\n", mb / median(parse),
                    median(parse) * 1000);
        std::printf("reader / read call:   %8.2f\n", our_rate / plain_rate);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "epsg_read_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
