// epsg_writer: writes a valid EPSG definitions file.
//
//   epsg_writer OUT [--counts N1,...,N9] [--integer-count C]
//                   [--texts empty|synthetic|epsg] [--proj-db PATH] [--size-mb MB]
//                   [--long-text LENGTH]
//
// Every count announces count + 1 records (default 0: one record per section). With
// --size-mb the counts (or, without --counts, the proportions of the EPSG dataset) are
// scaled, up or down, until the file holds about that many megabytes. --texts epsg takes the
// texts from the EPSG names in proj.db (Debian package proj-data). --long-text makes the
// first text of section 9's first record LENGTH bytes long (up to 65535).
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
    FilePlan plan;
    bool counts_given = false;
    std::string texts = "empty";
    std::string proj_db = default_proj_db;
    double size_mb = 0;
    long long_text = -1;
};

[[noreturn]] void usage(const std::string& problem) {
    std::cerr << "epsg_writer: " << problem << "\n"
              << "usage: epsg_writer OUT [--counts N1,...,N9] [--integer-count C]\n"
              << "                   [--texts empty|synthetic|epsg] [--proj-db PATH] "
                 "[--size-mb MB]\n"
              << "                   [--long-text LENGTH]\n";
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
                if (k == o.plan.counts.size()) usage("--counts takes nine counts");
                o.plan.counts[k++] = parse_count(item);
            }
            if (k != o.plan.counts.size()) usage("--counts takes nine counts");
            o.counts_given = true;
        } else if (arg == "--integer-count") {
            o.plan.integer_count = parse_count(value());
        } else if (arg == "--texts") {
            o.texts = value();
            if (o.texts != "empty" && o.texts != "synthetic" && o.texts != "epsg")
                usage("unknown --texts " + o.texts);
        } else if (arg == "--proj-db") {
            o.proj_db = value();
        } else if (arg == "--size-mb") {
            o.size_mb = std::atof(value().c_str());
            if (o.size_mb <= 0) usage("--size-mb needs a positive size");
        } else if (arg == "--long-text") {
            o.long_text = std::atol(value().c_str());
            if (o.long_text < 0 || o.long_text > 0xffff) usage("--long-text takes 0 to 65535");
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

}  // namespace

int main(int argc, char** argv) {
    Options o = parse_options(argc, argv);
    try {
        if (o.texts == "synthetic") o.plan.texts = synthetic_texts();
        if (o.texts == "epsg") o.plan.texts = texts_from_pools(read_proj_db_names(o.proj_db));
        if (o.long_text >= 0) {
            const auto length = static_cast<std::size_t>(o.long_text);
            o.plan.texts = [length, texts = o.plan.texts](int section, std::size_t record,
                                                          std::size_t text) {
                if (section == 9 && record == 0 && text == 0) return std::string(length, 'L');
                return texts ? texts(section, record, text) : std::string();
            };
        }
        if (!o.counts_given && o.size_mb > 0) {
            o.plan.counts = epsg_dataset_counts;
            o.plan.integer_count = 999;
        }
        const auto wanted = static_cast<std::size_t>(o.size_mb * 1024 * 1024);
        const FileImage image =
            wanted > 0 ? write_file_of_size(o.plan, wanted) : write_file(o.plan);
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
