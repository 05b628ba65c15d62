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

// The export file, written in chunks of key blocks.
class BlockFile {
public:
    explicit BlockFile(PendingFile& file) : file_(file) {}
    void add(const std::string& block) {
        pending_ += block;
        if (pending_.size() >= chunk_size) flush();
    }
    void flush() {
        file_.write(pending_);
        pending_.clear();
    }

private:
    static constexpr std::size_t chunk_size = 64 * 1024;
    PendingFile& file_;
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
    // when progress stopped the export or a key opened but could not be listed whole.
    // The file may raise.
    bool export_key(reg_key parent, const std::string& sub_key, const std::string& path,
                    int level) {
        if (progress_ != nullptr && !told_progress(path)) return false;
        RegKey key(api_);
        RegKeyContents contents;
        // A key that cannot be opened gets an empty block and no subkeys.
        const long opened = key.open(parent, sub_key, reg::key_read);
        if (opened == reg::success) {
            if (const long status = read_key_contents(key, contents); status != reg::success) {
                result_.fail("the key " + path + " could not be read whole (" +
                             registry_error_text(status) + ")");
                return false;
            }
        } else {
            result_.add({0, path, "", opened, "could not be opened: written without values"});
        }
        name_values_left_out(path, contents);
        file_.add(key_block(path, contents));
        if (opened != reg::success || !subkeys_ || contents.subkeys.empty()) return true;
        if (level == registry_limits::deepest_key_level) {
            result_.add({0, path, "", 0,
                         "subkeys left out: they lie deeper than Windows keeps keys (a link "
                         "back to a key above?)"});
            return true;
        }
        for (const std::string& subkey : contents.subkeys) {
            if (!fits_on_a_line(subkey)) {
                result_.add({0, path + "\\" + subkey, "", 0,
                             "left out with its subkeys: its name holds a line break"});
                continue;
            }
            if (!export_key(key.handle(), subkey, path + "\\" + subkey, level + 1)) return false;
        }
        return true;
    }

private:
    bool told_progress(const std::string& path) {
        try {
            progress_->key_started(path);
            return true;
        } catch (const std::exception& failure) {
            result_.fail(failure.what());
            return false;
        }
    }

    void name_values_left_out(const std::string& path, const RegKeyContents& contents) {
        for (const RegValueEntry& value : contents.values) {
            if (!fits_on_a_line(value.name))
                result_.add({0, path, value.name, 0,
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
    const KeyPath parsed = split_key_path(path);
    try {
        // Never over a file: any entry that a search for the name finds refuses the export.
        if (files.matches_exist(file)) {
            result.fail(file + " already exists");
            return result;
        }
        // A script asking for a key wants to know it is not there, and gets no file.
        if (const long status = RegKey(api).open(parsed.root, parsed.sub_key, reg::key_read);
            status != reg::success) {
            result.fail("the key " + path + " cannot be opened: " + registry_error_text(status));
            return result;
        }
        const std::unique_ptr<PendingFile> pending = files.create_pending_file(file);
        BlockFile blocks(*pending);
        blocks.add(std::string("REGEDIT4") + line_end + line_end);
        if (!TreeExport(api, subkeys, progress, blocks, result)
                 .export_key(parsed.root, parsed.sub_key, path, 0))
            return result;
        blocks.flush();
        pending->keep();
    } catch (const std::exception& failure) {
        result.fail(file + ": " + failure.what());
        return result;
    }
    result.finish();
    return result;
}

}  // namespace tarnwell
