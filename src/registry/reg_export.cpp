// ExportToReg and ExportKey: a key tree written to a REGEDIT4 file.
#include <cstdio>

#include "common/little_endian.h"
#include "common/text.h"
#include "registry/clsRegistryAccess.h"
#include "registry/hex_codec.h"
#include "registry/key_path.h"
#include "registry/reg_key.h"
#include "registry/reg_key_contents.h"
#include "registry/registry_errors.h"
#include "registry/registry_limits.h"

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

bool holds_text(std::uint32_t type) { return type == reg::type_sz || type == reg::type_expand_sz; }

// The file has a line form for texts, binaries and numbers; the default value is written
// from any text.
bool is_exported(const RegValueEntry& value) {
    return value.type == reg::type_sz || value.type == reg::type_binary ||
           value.type == reg::type_dword || (value.name.empty() && holds_text(value.type));
}

// Why the value's line in the file would import as something else, or "" when it
// imports as it is.
const char* import_hazard(const RegValueEntry& value) {
    const bool text = holds_text(value.type);
    // A CR LF ends the line early.
    if (value.name.find("\r\n") != std::string::npos ||
        (text && value.data.find("\r\n") != std::string::npos))
        return "holds a line break: it will not import whole";
    // The name of a value line ends at its first quote followed by "=".
    if (value.name.find("\"=") != std::string::npos)
        return "its name holds \"=: it will not import whole";
    if (text && value.name == "@") return "a text named @: it will import as the default value";
    return "";
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

// One export's walk over a key tree: appends each key's block and, when asked, the blocks
// of its subtree in pre-order, and notes in the report what it leaves out.
class TreeExport {
public:
    TreeExport(RegistryApi& api, Desktop& desktop, bool subkeys, StatusText* output,
               BlockFile& file, RegFileReport& report)
        : api_(api),
          desktop_(desktop),
          subkeys_(subkeys),
          output_(output),
          file_(file),
          report_(report) {}

    // The key at `path` and, when asked, its subtree. False when a key opened but could
    // not be listed whole: the export ends there. A failing status text or file raises.
    bool export_tree(const std::string& path) {
        const std::string full_path = with_long_root(path);
        const KeyPath parsed = split_key_path(full_path);
        return export_key(parsed.root, parsed.sub_key, full_path, 0);
    }

private:
    // The key sub_key below parent (a root or an open key), written as full_path. Its
    // subkeys are opened below it while it stays open, so that a key is reached however
    // deep it lies. `level` counts the levels below the exported key.
    bool export_key(reg_key parent, const std::string& sub_key, const std::string& full_path,
                    int level) {
        if (output_ != nullptr) {
            desktop_.process_pending_events();
            output_->set_text(full_path);
        }
        RegKey key(api_);
        RegKeyContents contents;
        // A key that cannot be opened gets an empty block and no subkeys.
        const long opened = key.open(parent, sub_key, reg::key_read);
        if (opened == reg::success) {
            if (const long status = read_key_contents(key, contents); status != reg::success) {
                report_.failure = "the key " + full_path + " could not be read whole (" +
                                  registry_error_text(status) + ")";
                return false;
            }
        } else {
            report_.add({0, full_path, "", opened, "could not be opened: written without values"});
        }
        note_values_left_out(full_path, contents);
        file_.add(key_block(full_path, contents));
        if (opened != reg::success || !subkeys_ || contents.subkeys.empty()) return true;
        if (level == registry_limits::deepest_key_level) {
            report_.add({0, full_path, "", 0,
                         "subkeys left out: they lie deeper than Windows keeps keys (a link "
                         "back to a key above?)"});
            return true;
        }
        for (const std::string& subkey : contents.subkeys) {
            if (!export_key(key.handle(), subkey, full_path + "\\" + subkey, level + 1))
                return false;
        }
        return true;
    }

    void note_values_left_out(const std::string& path, const RegKeyContents& contents) {
        for (const RegValueEntry& value : contents.values) {
            if (!is_exported(value)) {
                report_.add(
                    {0, path, value.name, 0, "not exported: " + value_type_name(value.type)});
            } else if (const std::string hazard = import_hazard(value); !hazard.empty()) {
                report_.add({0, path, value.name, 0, hazard});
            }
        }
    }

    RegistryApi& api_;
    Desktop& desktop_;
    bool subkeys_;
    StatusText* output_;
    BlockFile& file_;
    RegFileReport& report_;
};

}  // namespace

std::int32_t clsRegistryAccess::ExportToReg(const std::string& sPath, const std::string& sRegFile,
                                            bool IncludeSubkeys, StatusText* Output,
                                            RegFileReport* report) {
    RegFileReport unused;
    RegFileReport& noted = report != nullptr ? *report : unused;
    noted = RegFileReport();
    try {
        // Never overwrite: any entry that a search for the name finds refuses the export.
        if (files_.matches_exist(sRegFile)) {
            noted.failure = sRegFile + " already exists";
            return 0;
        }
        files_.create_file(sRegFile, std::string("REGEDIT4") + line_end + line_end);
    } catch (const std::exception& failure) {
        noted.failure = sRegFile + ": " + failure.what();
        return 0;
    }
    return ExportKey(sPath, sRegFile, IncludeSubkeys, Output, noted) ? 1 : 0;
}

bool clsRegistryAccess::ExportKey(const std::string& sPath, const std::string& sRegFile,
                                  bool IncludeSubkeys, StatusText* Output, RegFileReport& report) {
    BlockFile file(files_, sRegFile);
    bool whole = false;
    try {
        whole = TreeExport(api_, desktop_, IncludeSubkeys, Output, file, report).export_tree(sPath);
    } catch (const std::exception& failure) {
        // A failing status text or file write ends the export; what was exported before
        // it still goes to the file.
        report.failure = failure.what();
    }
    try {
        file.flush();
    } catch (const std::exception& failure) {
        report.failure = sRegFile + ": " + failure.what();
        return false;
    }
    return whole;
}

}  // namespace tarnwell
