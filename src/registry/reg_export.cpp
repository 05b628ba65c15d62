// ExportToReg and ExportKey: a key tree written to a REGEDIT4 file.
#include <cstdio>

#include "common/little_endian.h"
#include "common/text.h"
#include "registry/clsRegistryAccess.h"
#include "registry/hex_codec.h"
#include "registry/key_path.h"
#include "registry/reg_key_contents.h"

namespace tarnwell {

namespace {

constexpr const char* line_end = "\r\n";

// A number value as eight upper-case hex digits, from its first four bytes stored
// little-endian (missing bytes count as 0).
std::string dword_digits(std::string data) {
    data.resize(4, '\0');
    const std::uint32_t number = read_u32_le(data.data());
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(number));
    return text;
}

bool holds_text(std::uint32_t type) {
    return type == reg::type_sz || type == reg::type_expand_sz;
}

// One key's block: the key line, the default text, the named texts, the binaries,
// the numbers, each group in enumeration order, and the closing empty line.
std::string key_block(const std::string& key_line_path, const RegKeyContents& contents) {
    std::string block = "[" + key_line_path + "]" + line_end;
    for (const RegValueEntry& value : contents.values) {
        if (value.name.empty() && holds_text(value.type)) {
            const std::string_view text = without_final_nul(value.data);
            if (!text.empty()) block.append("@=\"").append(text).append("\"").append(line_end);
        }
    }
    for (const RegValueEntry& value : contents.values) {
        if (!value.name.empty() && value.type == reg::type_sz) {
            block.append("\"").append(value.name).append("\"=\"");
            block.append(without_final_nul(value.data)).append("\"").append(line_end);
        }
    }
    for (const RegValueEntry& value : contents.values) {
        if (value.type == reg::type_binary)
            block += "\"" + value.name + "\"=hex:" + hex_pairs(value.data, ',') + line_end;
    }
    for (const RegValueEntry& value : contents.values) {
        if (value.type == reg::type_dword)
            block += "\"" + value.name + "\"=dword:" + dword_digits(value.data) + line_end;
    }
    block += line_end;
    return block;
}

// The export file, appended to in chunks of key blocks: each chunk is one
// open-append-close, so no handle stays open across the recursion or between calls,
// and a large tree does not cost a file open per key.
class BlockFile {
public:
    BlockFile(FileSystem& files, const std::string& name) : files_(files), name_(name) {}
    void add(const std::string& block) {
        pending_ += block;
        if (pending_.size() >= chunk_size) flush();
    }
    void flush() {
        if (pending_.empty()) return;
        const std::string chunk = std::move(pending_);
        pending_.clear();
        files_.append_file(name_, chunk);
    }

private:
    static constexpr std::size_t chunk_size = 64 * 1024;
    FileSystem& files_;
    const std::string& name_;
    std::string pending_;
};

// Appends the block of the key at `path` and, when asked, the blocks of its subtree in
// pre-order. A failure on the way (the status text, the file, a key that opened but
// could not be listed whole) is raised and ends the export there.
void export_tree(RegistryApi& api, Desktop& desktop, const std::string& path, bool subkeys,
                 StatusText* output, BlockFile& file) {
    const std::string full_path = with_long_root(path);
    if (output != nullptr) {
        desktop.process_pending_events();
        output->set_text(full_path);
    }
    std::string parsed = full_path;
    std::string sub_key;
    const reg_key root = parse_key_path(parsed, sub_key);
    // The values are read whole here rather than through the 255-character reads of
    // ReadString and EnumValues, so that long texts and binaries are exported in full.
    // A key that cannot be opened gets an empty block and no subkeys.
    RegKeyContents contents;
    const bool opened = read_key_contents(api, root, sub_key, contents);
    file.add(key_block(full_path, contents));
    if (!opened || !subkeys) return;
    for (const std::string& subkey : contents.subkeys)
        export_tree(api, desktop, full_path + "\\" + subkey, subkeys, output, file);
}

}  // namespace

std::int32_t clsRegistryAccess::ExportToReg(const std::string& sPath, const std::string& sRegFile,
                                            bool IncludeSubkeys, StatusText* Output) {
    try {
        // Never overwrite: any entry that a search for the name finds refuses the export.
        if (files_.matches_exist(sRegFile)) return 0;
        files_.create_file(sRegFile, std::string("REGEDIT4") + line_end + line_end);
        return ExportKey(sPath, sRegFile, IncludeSubkeys, Output) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

bool clsRegistryAccess::ExportKey(const std::string& sPath, const std::string& sRegFile,
                                  bool IncludeSubkeys, StatusText* Output) {
    BlockFile file(files_, sRegFile);
    try {
        export_tree(api_, desktop_, sPath, IncludeSubkeys, Output, file);
        file.flush();
        return true;
    } catch (...) {
        // What was exported before the failure stays in the file.
        try {
            file.flush();
        } catch (...) {
        }
        return false;
    }
}

}  // namespace tarnwell
