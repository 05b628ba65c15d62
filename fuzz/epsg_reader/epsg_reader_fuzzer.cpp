// libFuzzer target for the definitions reader. Each input is read into a store that
// an earlier read of a valid file filled, as after earlier clicks of the Test command.
// Beyond the sanitizers' checks it stops on:
//   - a failure that names no stage of reading (1 to 11);
//   - a successful read whose store does not write back to the bytes it was read from;
//   - a store, new or old, whose tables cannot all be walked after the read.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "epsg/epsg_reader.h"
#include "epsg_writer/epsg_writer.h"
#include "platform/run_time_error.h"

using namespace tarnwell;

namespace {

// A valid file with two records in every section and texts in every record.
const std::shared_ptr<const std::string>& earlier_file() {
    static const auto bytes = [] {
        epsg_writer::FilePlan plan;
        plan.counts = {1, 1, 1, 1, 1, 1, 1, 1, 1};
        plan.integer_count = 1;
        plan.texts = epsg_writer::synthetic_texts();
        return std::make_shared<const std::string>(epsg_writer::write_file(plan).bytes);
    }();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EpsgStore store;
    std::int32_t stage = 0;
    read_epsg_definitions(earlier_file(), store, stage);

    const auto bytes =
        std::make_shared<const std::string>(reinterpret_cast<const char*>(data), size);
    bool read_through = true;
    stage = 0;
    try {
        read_epsg_definitions(bytes, store, stage);
    } catch (const run_time_error&) {
        read_through = false;
        if (stage < 1 || stage > 11) std::abort();
    }

    const std::string written = epsg_writer::write_store(store);
    if (read_through && bytes->compare(0, written.size(), written) != 0) std::abort();
    return 0;
}
