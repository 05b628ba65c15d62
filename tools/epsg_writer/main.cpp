// epsg_writer: writes a valid EPSG definitions file.
//
//   epsg_writer OUT [--counts N1,...,N9] [--integer-count C]
//                   [--texts empty|synthetic|epsg] [--proj-db PATH] [--size-mb MB]
//
// Every count announces count + 1 records (default 0: one record per section). With
// --size-mb the counts (or, without --counts, the proportions of the EPSG dataset) are
// scaled up until the file holds at least that many megabytes. --texts epsg takes the
// texts from the EPSG names in proj.db (Debian package proj-data).
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "epsg_writer/epsg_writer.h"
#include "proj_db_names.h"

using namespace tarnwell;
using namespace tarnwell::epsg_writer;

namespace {

struct Options {
    std::string out;
    FileSpec spec;
    bool counts_given = false;
    std::string texts = "empty";
    std::string proj_db = default_proj_db;
    double size_mb = 0;
};

[[noreturn]] void usage(const std::string& problem) {
    std::cerr << "epsg_writer: " << problem << "\n"
              << "usage: epsg_writer OUT [--counts N1,...,N9] [--integer-count C]\n"
              << "                   [--texts empty|synthetic|epsg] [--proj-db PATH] "
                 "[--size-mb MB]\n";
    std::exit(2);
}

std::int32_t parse_count(const std::string& text) {
    std::size_t used = 0;
    long value = -1;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
    }
    if (used != text.size() || value < 0 || value > 0x7fffffff) usage("bad count: " + text);
    return static_cast<std::int32_t>(value);
}

Options parse_options(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usage(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--counts") {
            std::istringstream list(value());
            std::string item;
            std::size_t k = 0;
            while (std::getline(list, item, ',')) {
                if (k == o.spec.counts.size()) usage("--counts takes nine counts");
                o.spec.counts[k++] = parse_count(item);
            }
            if (k != o.spec.counts.size()) usage("--counts takes nine counts");
            o.counts_given = true;
        } else if (arg == "--integer-count") {
            o.spec.integer_count = parse_count(value());
        } else if (arg == "--texts") {
            o.texts = value();
            if (o.texts != "empty" && o.texts != "synthetic" && o.texts != "epsg")
                usage("unknown --texts " + o.texts);
        } else if (arg == "--proj-db") {
            o.proj_db = value();
        } else if (arg == "--size-mb") {
            o.size_mb = std::atof(value().c_str());
            if (o.size_mb <= 0) usage("--size-mb needs a positive size");
        } else if (!arg.empty() && arg[0] == '-') {
            usage("unknown option " + arg);
        } else if (o.out.empty()) {
            o.out = arg;
        } else {
            usage("one output file only");
        }
    }
    if (o.out.empty()) usage("no output file");
    return o;
}

// Scales the counts so that the file reaches the wanted size: the size grows with the
// number of records, so one trial file gives the factor.
FileImage write_at_least(FileSpec spec, double megabytes) {
    const double wanted = megabytes * 1024 * 1024;
    FileImage image = write_file(spec);
    std::int64_t factor = 1;
    while (static_cast<double>(image.bytes.size()) < wanted) {
        factor = static_cast<std::int64_t>(
            static_cast<double>(factor) * wanted / static_cast<double>(image.bytes.size())) + 1;
        FileSpec scaled = spec;
        for (auto& count : scaled.counts) {
            const std::int64_t records = (static_cast<std::int64_t>(count) + 1) * factor;
            if (records > 0x7fffffff) usage("--size-mb too large");
            count = static_cast<std::int32_t>(records - 1);
        }
        scaled.integer_count = static_cast<std::int32_t>(
            std::min<std::int64_t>((spec.integer_count + 1LL) * factor - 1, 0x7ffffffe));
        image = write_file(scaled);
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    Options o = parse_options(argc, argv);
    try {
        if (o.texts == "synthetic") o.spec.texts = synthetic_texts();
        if (o.texts == "epsg") o.spec.texts = texts_from_pools(read_proj_db_names(o.proj_db));
        if (!o.counts_given && o.size_mb > 0) {
            // The sizes of the EPSG dataset's tables, one per section.
            o.spec.counts = {1093, 94, 54, 13, 607, 5499, 2592, 3643, 1530};
            o.spec.integer_count = 999;
        }
        const FileImage image = o.size_mb > 0 ? write_at_least(o.spec, o.size_mb)
                                              : write_file(o.spec);
        std::ofstream out(o.out, std::ios::binary | std::ios::trunc);
        out.write(image.bytes.data(), static_cast<std::streamsize>(image.bytes.size()));
        if (!out.flush()) throw std::runtime_error("cannot write " + o.out);
        std::cout << o.out << ": " << image.bytes.size() << " bytes\n";
    } catch (const std::exception& e) {
        std::cerr << "epsg_writer: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
