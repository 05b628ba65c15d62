// libFuzzer target: the REGEDIT4 importer's line handling on the host twin registry.
// Every input, behind a "REGEDIT4" header, is applied to a fresh registry; then the
// registry is exported and the export imported into another fresh registry. Neither
// may crash or leave a key open, and a file the export wrote without noting a problem
// must import.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "platform/host/host_desktop.h"
#include "platform/host/host_registry.h"
#include "platform/run_time_error.h"
#include "registry/clsRegistryAccess.h"
#include "registry/reg_import_text.h"

namespace {

using namespace tarnwell;

// Files in memory: only what the export and import use.
class MemoryFiles : public FileSystem {
public:
    std::string special_folder(int) override { throw run_time_error("not available"); }
    bool file_exists(const std::string& path) override { return files.count(path) != 0; }
    bool folder_exists(const std::string&) override { return false; }
    std::string file_name(const std::string& path) override { return path; }
    bool matches_exist(const std::string& pattern) override { return file_exists(pattern); }
    void copy_file(const std::string&, const std::string&) override {
        throw run_time_error("not available");
    }
    std::string read_file(const std::string& path) override { return files.at(path); }
    std::unique_ptr<ReadableFile> open_for_reading(const std::string&) override {
        throw run_time_error("not available");
    }
    void create_file(const std::string& path, const std::string& text) override {
        if (!files.emplace(path, text).second) throw run_time_error("File already exists");
    }
    void append_file(const std::string& path, const std::string& text) override {
        files[path] += text;
    }
    std::map<std::string, std::string> files;
};

const char* const roots[] = {"HKCR", "HKCU", "HKLM", "HKUS", "HKCC"};

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFiles files;
    HostDesktop desktop;
    HostRegistry first;
    clsRegistryAccess importer(first, files, desktop);
    // A line may stop the import (a malformed key line, a number too large); the changes
    // before it stay.
    RegFileReport report;
    apply_reg_text(first, "REGEDIT4\r\n" + std::string(reinterpret_cast<const char*>(data), size),
                   report);
    require(first.open_handles() == 0, "a key left open by the import");

    HostRegistry second;
    clsRegistryAccess reimporter(second, files, desktop);
    for (const char* root : roots) {
        const std::string file = std::string("C:\\") + root + ".reg";
        RegFileReport exported;
        require(importer.ExportToReg(root, file, true, nullptr, &exported) == 1, "export failed");
        require(first.open_handles() == 0, "a key left open by the export");
        // A text holding CR LF (quotes taken out of a line can make one) is written as it
        // is and breaks its line; the export says so, and only then may the file fail.
        const std::int32_t reimported = reimporter.ImportFromReg(file);
        require(reimported == 1 || !exported.problems.empty(), "the export did not import");
        require(second.open_handles() == 0, "a key left open by the second import");
    }
    return 0;
}
