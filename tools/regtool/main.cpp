// regtool: REGEDIT4 export and import through clsRegistryAccess.
//
//   regtool export KEY FILE [--no-subkeys]   writes KEY (and its subkeys) to FILE
//   regtool import FILE                      applies FILE to the registry
//
// Several commands may follow one another; they run in order on the same registry
// and stop at the first that fails. Exit code 0 when every command returned 1, 1 when
// one returned 0, 2 for a command line that cannot be read.
#include <cstdio>
#include <string>
#include <vector>

#include "registry/clsRegistryAccess.h"
#include "regtool_platform.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: regtool export KEY FILE [--no-subkeys] | import FILE  [...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    tarnwell::RegtoolPlatform platform;
    tarnwell::clsRegistryAccess registry(platform.registry(), platform.files(),
                                         platform.desktop());
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "export" && i + 2 < args.size()) {
            const std::string& key = args[i + 1];
            const std::string& file = args[i + 2];
            i += 3;
            bool subkeys = true;
            if (i < args.size() && args[i] == "--no-subkeys") {
                subkeys = false;
                ++i;
            }
            if (registry.ExportToReg(key, platform.file_path(file), subkeys) != 1) {
                std::fprintf(stderr, "regtool: export of %s to %s failed\n", key.c_str(),
                             file.c_str());
                return 1;
            }
        } else if (args[i] == "import" && i + 1 < args.size()) {
            const std::string& file = args[i + 1];
            i += 2;
            if (registry.ImportFromReg(platform.file_path(file)) != 1) {
                std::fprintf(stderr, "regtool: import of %s failed\n", file.c_str());
                return 1;
            }
        } else {
            return usage();
        }
    }
    return 0;
}
