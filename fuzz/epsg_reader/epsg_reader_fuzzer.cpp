// libFuzzer target for the definitions reader. Beyond the sanitizers' checks it stops
// when the reader and the writer's own reading of the bytes disagree: on whether they
// hold a whole file, or on the stage (1 to 11) at which they do not.
#include <cstdint>
#include <string>
#include <string_view>

#include "epsg/epsg_reader.h"
#include "epsg_writer/epsg_writer.h"
#include "fuzz_require.h"

using namespace tarnwell;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Status read = read_epsg_definitions(bytes);
    const int stage = epsg_writer::stage_reached(bytes);
    require(read.ok() == (stage == 12), "the reader and the writer disagree on a whole file");
    if (!read.ok()) {
        const std::string at = "An error occurred while reading the EPSG definitions at stage " +
                               std::to_string(stage) + " : ";
        require(read.description().rfind(at, 0) == 0 && read.description().size() > at.size(),
                "the failure names another stage, or no reason");
    }
    return 0;
}
