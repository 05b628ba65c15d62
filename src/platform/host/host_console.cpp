#include "platform/console.h"

namespace tarnwell {

std::vector<std::string> program_arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void write_console(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace tarnwell
