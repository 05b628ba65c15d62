// libFuzzer target for the definitions reader. Each input is read into a store that
// an earlier read of a valid file filled, as after earlier clicks of the Test command.
// Beyond the sanitizers' checks it stops on:
//   - a failure that names no stage of reading (1 to 11);
//   - a successful read whose store does not write back to the bytes it was read from;
//   - a store, new or old, whose tables cannot all be walked after the read.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "epsg/epsg_reader.h"
#include "epsg_writer/epsg_writer.h"

using namespace tarnwell;

namespace {

std::shared_ptr<const FileBytes> bytes_of(const char* data, std::size_t size) {
    auto bytes = std::make_shared<FileBytes>(size);
    if (size != 0) std::memcpy(bytes->data(), data, size);
    return bytes;
}

// A valid file with two records in every section and texts in every record.
const std::shared_ptr<const FileBytes>& earlier_file() {
    static const auto bytes = [] {
        epsg_writer::FilePlan plan;
        plan.counts = {1, 1, 1, 1, 1, 1, 1, 1, 1};
        plan.integer_count = 1;
        plan.texts = epsg_writer::synthetic_texts();
        const std::string file = epsg_writer::write_file(plan).bytes;
        return bytes_of(file.data(), file.size());
    }();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EpsgStore store;
    if (!read_epsg_definitions(earlier_file(), store).status.ok()) std::abort();

    const DefinitionsRead read =
        read_epsg_definitions(bytes_of(reinterpret_cast<const char*>(data), size), store);
    const bool read_through = read.status.ok();
    if (!read_through && (read.stage < 1 || read.stage > 11)) std::abort();

    const std::string written = epsg_writer::write_store(store);
    if (read_through &&
        (written.size() > size || std::memcmp(data, written.data(), written.size()) != 0))
        std::abort();
    return 0;
}
