#include "registry/reg_file_export.h"

#include <memory>

#include "registry/key_path.h"
#include "registry/reg_file_format.h"
#include "registry/reg_key.h"
#include "registry/reg_key_contents.h"
#include "registry/registry_errors.h"
#include "registry/registry_limits.h"

namespace tarnwell {

namespace {

constexpr const char* line_end = "\r\n";

// One key's block from what the key holds; values whose names cannot stand on a line
// are left out (the caller names them).
std::string key_block(const std::string& key_path, const RegKeyContents& contents) {
    std::string block = "[" + key_path + "]" + line_end;
    for (const LineGroup group : {LineGroup::default_value, LineGroup::text, LineGroup::binary,
                                  LineGroup::number, LineGroup::other}) {
        for (const RegValueEntry& value : contents.values) {
            if (line_group(value) == group && fits_on_a_line(value.name))
                block.append(value_line(value)).append(line_end);
        }
    }
    block += line_end;
    return block;
}

// The export file, written in chunks of key blocks. Its first failure stops the export.
class BlockFile {
public:
    BlockFile(PendingFile& file, const std::string& name) : file_(file), name_(name) {}
    bool add(const std::string& block, RegFileResult& result) {
        pending_ += block;
        return pending_.size() < chunk_size || flush(result);
    }
    bool flush(RegFileResult& result) {
        const Status written = file_.write(pending_);
        pending_.clear();
        if (!written.ok()) result.fail(name_ + ": " + written.description());
        return written.ok();
    }

private:
    static constexpr std::size_t chunk_size = 64 * 1024;
    PendingFile& file_;
    const std::string& name_;
    std::string pending_;
};

// One export's walk over a key tree: appends each key's block and, when asked, the blocks
// of its subtree in pre-order, and names what it leaves out.
class TreeExport {
public:
    TreeExport(RegistryApi& api, bool subkeys, ExportProgress* progress, BlockFile& file,
               RegFileResult& result)
        : api_(api), subkeys_(subkeys), progress_(progress), file_(file), result_(result) {}

    // The key `sub_key` below `parent` (a root or an open key), written as `path`, and,
    // when asked, its subtree. `level` counts the levels below the exported key. False
    // when the export stops: progress or the file failed, or a key opened but could not
    // be listed whole.
    bool export_key(reg_key parent, const std::string& sub_key, const std::string& path,
                    int level) {
        if (progress_ != nullptr) {
            if (const Status told = progress_->key_started(path); !told.ok()) {
                result_.fail(told.description());
                return false;
            }
        }
        RegKey key(api_);
        RegKeyContents contents;
        // A key that cannot be opened gets an empty block and no subkeys.
        const Status opened = key.open(parent, sub_key, reg::key_read);
        if (opened.ok()) {
            if (const Status status = read_key_contents(key, contents); !status.ok()) {
                result_.fail("the key " + path + " could not be read whole (" +
                             registry_error_text(status) + ")");
                return false;
            }
        } else {
            result_.add({0, path, "", opened, "could not be opened: written without values"});
        }
        name_values_left_out(path, contents);
        if (!file_.add(key_block(path, contents), result_)) return false;
        if (!opened.ok() || !subkeys_ || contents.subkeys.empty()) return true;
        if (level == registry_limits::deepest_key_level) {
            result_.add({0, path, "", Status(),
                         "subkeys left out: they lie deeper than Windows keeps keys (a link "
                         "back to a key above?)"});
            return true;
        }
        for (const std::string& subkey : contents.subkeys) {
            if (!fits_on_a_line(subkey)) {
                result_.add({0, path + "\\" + subkey, "", Status(),
                             "left out with its subkeys: its name holds a line break"});
                continue;
            }
            if (!export_key(key.handle(), subkey, path + "\\" + subkey, level + 1)) return false;
        }
        return true;
    }

private:
    void name_values_left_out(const std::string& path, const RegKeyContents& contents) {
        for (const RegValueEntry& value : contents.values) {
            if (!fits_on_a_line(value.name))
                result_.add({0, path, value.name, Status(),
                             "not exported: the name of this " + value_type_name(value.type) +
                                 " holds a line break"});
        }
    }

    RegistryApi& api_;
    bool subkeys_;
    ExportProgress* progress_;
    BlockFile& file_;
    RegFileResult& result_;
};

}  // namespace

RegFileResult export_reg_file(RegistryApi& api, FileSystem& files, const std::string& key_path,
                              const std::string& file, bool subkeys, ExportProgress* progress) {
    RegFileResult result;
    // A trailing backslash names no key of its own.
    std::string path = with_long_root(key_path);
    while (path.size() > 1 && path.back() == '\\')
        path.pop_back();
    if (!fits_on_a_line(path)) {
        result.fail("the key path holds a line break");
        return result;
    }
    const Result<KeyPath> parsed = read_key_path(path);
    if (!parsed.ok()) {
        result.fail(parsed.status().description() + " in the key path " + path);
        return result;
    }
    // Never over a file: any entry that a search for the name finds refuses the export.
    const Result<bool> exists = files.matches_exist(file);
    if (!exists.ok() || *exists) {
        result.fail(file +
                    (exists.ok() ? " already exists" : ": " + exists.status().description()));
        return result;
    }
    // A script asking for a key wants to know it is not there, and gets no file.
    if (const Status status = RegKey(api).open(parsed->root, parsed->sub_key, reg::key_read);
        !status.ok()) {
        result.fail("the key " + path + " cannot be opened: " + registry_error_text(status));
        return result;
    }
    Result<std::unique_ptr<PendingFile>> pending = files.create_pending_file(file);
    if (!pending.ok()) {
        result.fail(file + ": " + pending.status().description());
        return result;
    }
    BlockFile blocks(**pending, file);
    if (!blocks.add(std::string("REGEDIT4") + line_end + line_end, result) ||
        !TreeExport(api, subkeys, progress, blocks, result)
             .export_key(parsed->root, parsed->sub_key, path, 0) ||
        !blocks.flush(result))
        return result;
    if (const Status kept = (*pending)->keep(ExistingFile::refuse); !kept.ok()) {
        result.fail(file + ": " + kept.description());
        return result;
    }
    result.finish();
    return result;
}

}  // namespace tarnwell
