// libFuzzer target: the registry file import and export on the host twin registry.
// Every input is applied to a fresh registry (behind a "REGEDIT4" header, or as it is
// when it starts with the UTF-16 byte-order mark of a version 5 file); then each root is
// exported and the export imported into another fresh registry. Neither may crash or
// leave a key open, every export goes through, and an export that names nothing it left
// out imports whole into exactly the tree it came from: every key, and every value with
// its type and bytes.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/bytes_in_memory.h"
#include "platform/host/host_registry.h"
#include "registry/reg_file_export.h"
#include "registry/reg_file_import.h"
#include "registry/reg_key.h"
#include "registry/reg_key_contents.h"
#include "fuzz_require.h"

namespace {

using namespace tarnwell;

// Files in memory: only what the export and import use.
class MemoryFiles : public FileSystem {
public:
    Result<std::string> special_folder(int) override { return unavailable(); }
    Result<bool> file_exists(const std::string& path) override { return files.count(path) != 0; }
    Result<bool> folder_exists(const std::string&) override { return false; }
    Result<bool> matches_exist(const std::string& pattern) override { return file_exists(pattern); }
    Result<std::vector<std::string>> list_files(const std::string&, const std::string&) override {
        return std::vector<std::string>();
    }
    Status copy_file(const std::string&, const std::string&) override { return unavailable(); }
    Result<std::unique_ptr<ReadableFile>> open_for_reading(const std::string& path) override {
        const auto file = files.find(path);
        if (file == files.end()) return Status::failure("File not found");
        return std::unique_ptr<ReadableFile>(std::make_unique<BytesInMemory>(file->second));
    }
    Result<std::unique_ptr<PendingFile>> create_pending_file(
        const std::string& destination) override {
        class Pending : public PendingFile {
        public:
            Pending(MemoryFiles& files, std::string destination)
                : files_(files), destination_(std::move(destination)) {}
            Status write(std::string_view bytes) override {
                text_.append(bytes);
                return Status();
            }
            Status keep(ExistingFile existing) override {
                if (existing == ExistingFile::replace) files_.files.erase(destination_);
                if (!files_.files.emplace(destination_, text_).second)
                    return Status::failure("File already exists");
                return Status();
            }

        private:
            MemoryFiles& files_;
            std::string destination_;
            std::string text_;
        };
        return std::unique_ptr<PendingFile>(std::make_unique<Pending>(*this, destination));
    }
    std::map<std::string, std::string> files;

private:
    static Status unavailable() { return Status::failure("not available"); }
};

// Key path -> value name -> type and bytes.
using Tree = std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>>;

void read_tree(RegistryApi& api, reg_key parent, const std::string& name, const std::string& path,
               Tree& tree) {
    RegKey key(api);
    if (key.open(parent, name, reg::key_read) != reg::success) return;
    RegKeyContents contents;
    require(read_key_contents(key, contents).ok(), "a key of the twin could not be read");
    auto& values = tree[path];
    for (const RegValueEntry& value : contents.values)
        values[value.name] = {value.type, value.data};
    for (const std::string& subkey : contents.subkeys)
        read_tree(api, key.handle(), subkey, path + "\\" + subkey, tree);
}

struct Root {
    const char* name;
    reg_key key;
};
const Root roots[] = {{"HKCR", reg::classes_root},
                      {"HKCU", reg::current_user},
                      {"HKLM", reg::local_machine},
                      {"HKUS", reg::users},
                      {"HKCC", reg::current_config}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const bool unicode = input.rfind("\xFF\xFE", 0) == 0;
    HostRegistry first;
    import_reg_text(first, unicode ? input : "REGEDIT4\r\n" + input, UnicodeFiles::read);
    require(first.open_handles() == 0, "a key left open by the import");

    MemoryFiles files;
    HostRegistry second;
    bool named = false;
    for (const Root& root : roots) {
        const std::string file = std::string("C:\\") + root.name + ".reg";
        const RegFileResult exported =
            export_reg_file(first, files, root.name, file, true, RegFileForm::regedit4, nullptr);
        require(exported.whole(), "export failed");
        require(first.open_handles() == 0, "a key left open by the export");
        named = named || exported.issue_count() != 0;
        const RegFileResult imported = import_reg_file(second, files, file, UnicodeFiles::refused);
        require(second.open_handles() == 0, "a key left open by the second import");
        require(imported.whole(), "the export did not import");
        require(named || imported.issue_count() == 0, "the export imported with issues");
    }
    if (named) return 0;
    for (const Root& root : roots) {
        Tree before, after;
        read_tree(first, root.key, "", "", before);
        read_tree(second, root.key, "", "", after);
        require(before == after, "the export imported as another tree");
    }
    return 0;
}
