#include "registry/reg_file_import.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "common/text.h"
#include "common/utf8.h"
#include "platform/code_page.h"
#include "platform/file_bytes.h"
#include "registry/key_path.h"
#include "registry/reg_file_format.h"
#include "registry/reg_file_parse.h"
#include "registry/reg_file_unicode.h"
#include "registry/reg_key.h"
#include "registry/value_writes.h"

namespace tarnwell {

namespace {

// The lines of a file one after another, without copying them or keeping a list of
// them. As regedit reads them, a line ends at CR LF, at a bare LF and at a lone CR.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    // The next line; false after the last.
    bool next(std::string_view& line) {
        if (start_ == std::string_view::npos) return false;
        last_start_ = start_;
        const std::size_t end = text_.find_first_of("\r\n", start_);
        line = text_.substr(start_, end == std::string_view::npos ? end : end - start_);
        if (end == std::string_view::npos)
            start_ = end;
        else
            start_ = end + (text_.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        ++index_;
        return true;
    }
    // The index of the line last returned, counted from 0.
    std::size_t index() const { return index_; }
    // The line last returned comes again with the next call.
    void put_back() {
        start_ = last_start_;
        --index_;
    }

private:
    std::string_view text_;
    std::size_t start_ = 0;
    std::size_t last_start_ = 0;
    std::size_t index_ = std::size_t(-1);
};

// The lines of one file applied one after another; the key of the last key line stays
// open for the values that follow it.
class ImportRun {
public:
    ImportRun(RegistryApi& api, RegFileResult& result, RegFileForm form,
              KeyPathReading read_path)
        : api_(api), result_(result), form_(form), read_path_(read_path), key_(api) {}

    void key_line(std::size_t line, std::string_view text) {
        key_.close();
        const Result<KeyLine> key = read_key_line(text);
        if (!key.ok()) {
            state_ = State::skipped;
            unreadable(line, std::string(text), "",
                       key.status().description() + ": the key and its values are not applied");
            return;
        }
        path_ = key->path;
        if (key->removal) {
            state_ = State::removed;
            delete_key(line);
            return;
        }
        const Result<KeyPath> read = read_path_(path_);
        if (!read.ok()) {
            state_ = State::skipped;
            unreadable(line, path_, "",
                       read.status().description() + ": the key and its values are not applied");
            return;
        }
        const Status status = open_for_writing(*read, true, key_);
        state_ = status == reg::success ? State::open : State::failed;
        failure_ = status;
        if (status != reg::success)
            note(line, "", status, "the key could not be opened or created");
    }

    // A value line `text`; `data` is its data with any continued lines joined to it, and
    // `whole` false when a line it went on to was missing.
    void value_line(std::size_t line, std::string_view text, const ValueLine& value,
                    std::string_view data, bool whole) {
        if (state_ == State::skipped) return;
        // No key to write to: named by the line itself, which holds the value's name.
        if (state_ == State::outside || state_ == State::removed) {
            result_.add({line + 1, shown_line(text), "", Status(),
                         state_ == State::outside
                             ? "a value line before any key line: not applied"
                             : "a value line after a key deletion: not applied"});
            return;
        }
        if (!whole) {
            unreadable(line, path_, value.name, "hex data whose next line is missing: not applied");
            return;
        }
        ValueData read = read_value_data(data);
        if (read.form == ValueData::Form::bytes && reg::is_text_type(read.type))
            read = text_of_file_bytes(std::move(read));
        if (read.form == ValueData::Form::unreadable) {
            unreadable(line, path_, value.name, read.why + ": not applied");
            return;
        }
        // @="" removes the default value.
        const bool removal =
            read.form == ValueData::Form::removal ||
            (value.unquoted_at && read.form == ValueData::Form::text && read.data.empty());
        if (state_ == State::failed) {
            note(line, value.name, failure_,
                 removal ? "not deleted: the key could not be opened or created"
                         : "not written: the key could not be opened or created");
            return;
        }
        if (removal) {
            // A value that is not there is gone already.
            const Status status = key_.delete_value(value.name);
            if (status != reg::success && status != reg::file_not_found)
                note(line, value.name, status, "could not be deleted");
            return;
        }
        const Status status = read.form == ValueData::Form::text
                                  ? key_.set_string(value.name, read.data)
                                  : key_.set_value(value.name, read.type, read.data);
        if (status != reg::success) note(line, value.name, status, "not written");
    }

    // A line that is neither a key line, a value line, a comment nor empty.
    void passed_over(std::size_t line, std::string_view text) {
        result_.add({line + 1, shown_line(text), "", Status(),
                     "neither a key, a value nor a comment: passed over"});
    }

private:
    // outside: before any key line; removed: after a "[-key]" line.
    enum class State { outside, open, failed, skipped, removed };

    // A line as its issue names it: whole when short, otherwise its start, with control
    // characters as \xNN so that a message shows them rather than passing them to a
    // console.
    static std::string shown_line(std::string_view text) {
        constexpr std::size_t longest = 80;
        std::size_t cut = text.size();
        if (cut > longest) {
            cut = longest;
            // Not inside a UTF-8 sequence.
            while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
                --cut;
        }
        std::string shown;
        for (const char c : text.substr(0, cut)) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7F) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
                shown += escaped;
            } else {
                shown += c;
            }
        }
        return cut < text.size() ? shown + "..." : shown;
    }

    // The bytes of a text-type value in hex(N): are the text in the file's encoding;
    // the registry takes it in UTF-8.
    ValueData text_of_file_bytes(ValueData read) const {
        if (form_ == RegFileForm::regedit4) {
            read.data = utf8_from_ansi(read.data);
        } else if (read.data.size() % 2 == 0) {
            read.data = utf8_from_utf16(utf16_of_le_bytes(read.data));
        } else {
            ValueData failed;
            failed.why = "a UTF-16 text of an odd number of bytes";
            return failed;
        }
        return read;
    }

    // "[-key]": the key goes when it has no subkeys; a key that is not there is gone
    // already.
    void delete_key(std::size_t line) {
        const Result<KeyPath> path = read_path_(path_);
        if (!path.ok()) {
            unreadable(line, path_, "", path.status().description() + ": the key is not deleted");
            return;
        }
        RegKey key(api_);
        Status status = key.open(path->root, path->sub_key, reg::key_all_access);
        if (status == reg::file_not_found) return;
        if (status == reg::success) status = key.delete_key("");
        if (status != reg::success) note(line, "", status, "key not deleted");
    }

    void note(std::size_t line, const std::string& value, const Status& status, std::string what) {
        result_.add({line + 1, path_, value, status, std::move(what)});
    }
    void unreadable(std::size_t line, std::string key, const std::string& value, std::string what) {
        result_.add_unreadable({line + 1, std::move(key), value, Status(), std::move(what)});
    }

    RegistryApi& api_;
    RegFileResult& result_;
    RegFileForm form_;
    KeyPathReading read_path_;
    RegKey key_;
    State state_ = State::outside;
    std::string path_;
    Status failure_;
};

// Whether the first line is the header `header`; says why not in `result`.
bool has_header(std::string_view text, const char* header, RegFileResult& result) {
    Lines lines(text);
    std::string_view first;
    lines.next(first);
    if (equals_ignoring_case(first, header)) return true;
    result.fail(Status::failure(std::string("not a REGEDIT4 file: its first line is not \"") +
                                header + "\""));
    return false;
}

// The data of a value line whose hex bytes go on over the lines after it, gathered into
// one text. A line of a comment alone in between is passed over; any other line that
// carries no bytes on ends the value unread and is read as a line of its own.
bool gather_continued(Lines& lines, std::string& data) {
    data = std::string(continued_bytes(data));
    std::string_view next;
    while (lines.next(next)) {
        const std::string_view piece = trim_blanks(next);
        if (!piece.empty() && piece.front() == ';') continue;
        if (!carries_bytes_on(piece)) {
            lines.put_back();
            return false;
        }
        data.append(continued_bytes(piece));
        if (!piece_continues(piece)) return true;
    }
    return false;
}

void apply_lines(ImportRun& run, std::string_view text) {
    Lines lines(text);
    std::string_view line;
    lines.next(line);
    while (lines.next(line)) {
        const std::size_t index = lines.index();
        line = trim_blanks(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            run.key_line(index, line);
            continue;
        }
        const std::optional<ValueLine> value = read_value_line(line);
        if (!value) {
            run.passed_over(index, line);
            continue;
        }
        std::string data(value->data);
        const bool whole = !hex_continues(data) || gather_continued(lines, data);
        run.value_line(index, line, *value, data, whole);
    }
}

}  // namespace

RegFileResult import_reg_text(RegistryApi& api, std::string_view bytes, UnicodeFiles unicode,
                              KeyPathReading read_path) {
    RegFileResult result;
    const bool utf16 = unicode == UnicodeFiles::read && is_utf16_file(bytes);
    if (utf16 && bytes.size() % 2 != 0) {
        result.fail(Status::failure("not a whole UTF-16 file: its size is odd"));
        return result;
    }
    // The lines are read in UTF-8, as the registry takes names and texts; a REGEDIT4 file
    // in plain ASCII needs no conversion.
    std::string converted;
    std::string_view text = bytes;
    if (utf16) {
        converted = utf8_from_utf16(utf16_of_le_bytes(bytes.substr(2)));
        text = converted;
    } else if (std::any_of(bytes.begin(), bytes.end(),
                           [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        converted = utf8_from_ansi(bytes);
        text = converted;
    }
    if (!has_header(text, utf16 ? unicode_file_header : "REGEDIT4", result)) return result;
    ImportRun run(api, result, utf16 ? RegFileForm::unicode : RegFileForm::regedit4,
                  read_path);
    apply_lines(run, text);
    result.finish();
    return result;
}

RegFileResult import_reg_file(RegistryApi& api, FileSystem& files, const std::string& file,
                              UnicodeFiles unicode, KeyPathReading read_path) {
    RegFileResult unread;
    const Result<bool> exists = files.matches_exist(file);
    if (!exists.ok() || !*exists) {
        unread.fail(exists.ok() ? Status::failure(file + ": file not found")
                                : Status(exists.status().code(),
                                         file + ": " + exists.status().description()));
        return unread;
    }
    // The file is closed again before the registry is changed.
    const Result<FileBytes> bytes = read_whole_file(files, file, 0x7FFFFFFF);
    if (!bytes.ok()) {
        unread.fail(Status(bytes.status().code(), file + ": " + bytes.status().description()));
        return unread;
    }
    return import_reg_text(api, std::string_view(bytes->data(), bytes->size()), unicode,
                           read_path);
}

}  // namespace tarnwell
