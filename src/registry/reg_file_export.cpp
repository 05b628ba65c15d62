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

const char* const not_in_code_page =
    "the ANSI code page cannot hold its name or text (a Unicode export, regtool --unicode, "
    "keeps it)";

// One key's block in the file's form from what the key holds; values whose names cannot
// stand on a line, or that a REGEDIT4 file cannot hold, are left out and named.
std::string key_block(const std::string& encoded_key_line, const RegKeyContents& contents,
                      RegFileForm form, const std::string& path, RegFileResult& result) {
    const std::string end = file_text(line_end, form).value();
    std::string block = encoded_key_line + end;
    for (const RegValueEntry& value : contents.values) {
        if (!fits_on_a_line(value.name))
            result.add({0, path, value.name, Status(),
                        "not exported: the name of this " + value_type_name(value.type) +
                            " holds a line break"});
    }
    for (const LineGroup group : {LineGroup::default_value, LineGroup::text, LineGroup::binary,
                                  LineGroup::number, LineGroup::other}) {
        for (const RegValueEntry& value : contents.values) {
            if (line_group(value) != group || !fits_on_a_line(value.name)) continue;
            const Result<std::string> line = value_line(value, form);
            if (!line.ok()) {
                result.add({0, path, value.name, Status(),
                            "not exported: " + std::string(not_in_code_page)});
                continue;
            }
            block.append(*line).append(end);
        }
    }
    block += end;
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
        if (!written.ok())
            result.fail(Status(written.code(), name_ + ": " + written.description()));
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
    TreeExport(RegistryApi& api, bool subkeys, RegFileForm form, ExportProgress* progress,
               BlockFile& file, RegFileResult& result)
        : api_(api),
          subkeys_(subkeys),
          form_(form),
          progress_(progress),
          file_(file),
          result_(result) {}

    // The key `sub_key` below `parent` (a root or an open key), written as `path` on the
    // key line `key_line` (in the file's encoding), and, when asked, its subtree.
    // `level` counts the levels below the exported key. False when the export stops:
    // progress or the file failed, or a key opened but could not be listed whole.
    //
    // A registry link below the exported key is named and left out, never followed: a
    // link leads to a key of the tree or above it (any user can make such links in their
    // own hive), and following it would walk keys again and again. So the walk meets
    // every key once.
    bool export_key(reg_key parent, const std::string& sub_key, const std::string& path,
                    const std::string& key_line, int level) {
        RegKey key(api_);
        // The key asked for is exported even when it is a link itself: it is walked once.
        const Status opened = level == 0 ? key.open(parent, sub_key, reg::key_read)
                                         : key.open_link(parent, sub_key, reg::key_read);
        if (opened.ok() && level > 0 && key.is_link()) {
            result_.add({0, path, "", Status(),
                         "left out: a registry link to another key, which is not followed"});
            return true;
        }
        if (progress_ != nullptr) {
            if (const Status told = progress_->key_started(path); !told.ok()) {
                result_.fail(told);
                return false;
            }
        }
        RegKeyContents contents;
        // A key that cannot be opened gets an empty block and no subkeys.
        if (opened.ok()) {
            if (const Status status = read_key_contents(key, contents); !status.ok()) {
                result_.fail(Status(status.code(), "the key " + path +
                                                       " could not be read whole (" +
                                                       registry_error_text(status) + ")"));
                return false;
            }
        } else {
            result_.add({0, path, "", opened, "could not be opened: written without values"});
        }
        if (!file_.add(key_block(key_line, contents, form_, path, result_), result_)) return false;
        if (!opened.ok() || !subkeys_ || contents.subkeys.empty()) return true;
        if (level == registry_limits::deepest_key_level) {
            result_.add({0, path, "", Status(),
                         "subkeys left out: they lie deeper than Windows keeps keys (a link "
                         "back to a key above?)"});
            return true;
        }
        for (const std::string& subkey : contents.subkeys) {
            const std::string subkey_path = path + "\\" + subkey;
            if (!fits_on_a_line(subkey)) {
                result_.add({0, subkey_path, "", Status(),
                             "left out with its subkeys: its name holds a line break"});
                continue;
            }
            const Result<std::string> line = file_text("[" + subkey_path + "]", form_);
            if (!line.ok()) {
                result_.add({0, subkey_path, "", Status(),
                             "left out with its subkeys: " + std::string(not_in_code_page)});
                continue;
            }
            if (!export_key(key.handle(), subkey, subkey_path, *line, level + 1)) return false;
        }
        return true;
    }

private:
    RegistryApi& api_;
    bool subkeys_;
    RegFileForm form_;
    ExportProgress* progress_;
    BlockFile& file_;
    RegFileResult& result_;
};

}  // namespace

RegFileResult export_reg_file(RegistryApi& api, FileSystem& files, const std::string& key_path,
                              const std::string& file, bool subkeys, RegFileForm form,
                              ExportProgress* progress) {
    RegFileResult result;
    // A trailing backslash names no key of its own.
    std::string path = with_long_root(key_path);
    while (path.size() > 1 && path.back() == '\\')
        path.pop_back();
    if (!fits_on_a_line(path)) {
        result.fail(Status::failure("the key path holds a line break"));
        return result;
    }
    const Result<KeyPath> parsed = read_key_path(path);
    if (!parsed.ok()) {
        result.fail(Status(parsed.status().code(),
                           parsed.status().description() + " in the key path " + path));
        return result;
    }
    const Result<std::string> key_line = file_text("[" + path + "]", form);
    if (!key_line.ok()) {
        result.fail(Status::failure(
            "the key path holds a character that the ANSI code page cannot hold (a Unicode "
            "export, regtool --unicode, keeps it)"));
        return result;
    }
    // Never over a file: any entry that a search for the name finds refuses the export.
    const Result<bool> exists = files.matches_exist(file);
    if (!exists.ok() || *exists) {
        result.fail(exists.ok() ? Status::failure(file + " already exists")
                                : Status(exists.status().code(),
                                         file + ": " + exists.status().description()));
        return result;
    }
    // A script asking for a key wants to know it is not there, and gets no file.
    if (const Status status = RegKey(api).open(parsed->root, parsed->sub_key, reg::key_read);
        !status.ok()) {
        result.fail(Status(status.code(), "the key " + path +
                                              " cannot be opened: " + registry_error_text(status)));
        return result;
    }
    Result<std::unique_ptr<PendingFile>> pending = files.create_pending_file(file);
    if (!pending.ok()) {
        result.fail(Status(pending.status().code(), file + ": " + pending.status().description()));
        return result;
    }
    BlockFile blocks(**pending, file);
    if (!blocks.add(file_header(form), result) ||
        !TreeExport(api, subkeys, form, progress, blocks, result)
             .export_key(parsed->root, parsed->sub_key, path, *key_line, 0) ||
        !blocks.flush(result))
        return result;
    if (const Status kept = (*pending)->keep(ExistingFile::refuse); !kept.ok()) {
        result.fail(Status(kept.code(), file + ": " + kept.description()));
        return result;
    }
    result.finish();
    return result;
}

}  // namespace tarnwell
