#include "registry/reg_import_text.h"

#include <optional>
#include <string_view>

#include "common/text.h"
#include "registry/hex_codec.h"
#include "registry/key_path.h"
#include "registry/reg_key.h"
#include "registry/value_writes.h"

namespace tarnwell {

namespace {

// The lines of a file one after another, without copying them or keeping a list of
// them. Lines end with CR LF only; a file with bare LF line ends is one line.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    // The next line; false after the last.
    bool next(std::string_view& line) {
        if (start_ == std::string_view::npos) return false;
        const std::size_t end = text_.find("\r\n", start_);
        line = text_.substr(start_, end == std::string_view::npos ? end : end - start_);
        start_ = end == std::string_view::npos ? end : end + 2;
        ++index_;
        return true;
    }
    // The index of the line last returned, counted from 0.
    std::size_t index() const { return index_; }

private:
    std::string_view text_;
    std::size_t start_ = 0;
    std::size_t index_ = std::size_t(-1);
};

constexpr const char* line_ends_failure = "lines must end in CR LF";

std::string without_quotes(std::string_view text) { return without_chars(text, "\""); }

// The number of a "dword:" value: its leading hex digits, blanks skipped; no digit
// gives 0. Eight digits with the top bit set are a negative number. Nothing when the
// digits make a number too large for 32 bits.
std::optional<std::int32_t> dword_number(std::string_view digits) {
    std::uint64_t number = 0;
    for (char c : digits) {
        if (c == ' ' || c == '\t' || c == '\n') continue;
        const int digit = hex_digit_value(c);
        if (digit < 0) break;
        number = number * 16 + static_cast<std::uint64_t>(digit);
        if (number > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

// The writes and deletes of one key block, through one handle to the key kept for the
// whole block. Each failure goes to the report with the line it came from.
class KeyBlock {
public:
    KeyBlock(RegistryApi& api, const std::string& key_path, RegFileReport& report)
        : key_(api), path_text_(key_path), path_(split_key_path(key_path)), report_(report) {}

    void write_text(std::size_t line, const std::string& name, const std::string& text) {
        if (writable(line, name)) check(line, name, key_.set_string(text_value_name(name), text));
        // An empty default text removes the default value.
        if (name == "@" && text.empty()) delete_value(line, "");
    }
    void write_binary(std::size_t line, const std::string& name, const std::string& bytes) {
        if (writable(line, name)) check(line, name, key_.set_binary(name, bytes));
    }
    void write_number(std::size_t line, const std::string& name, std::int32_t number) {
        if (writable(line, name))
            check(line, name, key_.set_dword(name, static_cast<std::uint32_t>(number)));
    }
    void delete_value(std::size_t line, const std::string& name) {
        // A delete never creates the key; a value that is not there is gone already.
        if (!key_.is_open() && delete_open_failure_ == reg::success)
            delete_open_failure_ = key_.open(path_.root, path_.sub_key, reg::key_write);
        long status = key_.is_open() ? key_.delete_value(name) : delete_open_failure_;
        if (status != reg::success && status != reg::file_not_found)
            note(line, name, status, "could not be deleted");
    }

private:
    // The block's key, opened for writing (and created when missing) on first use. A
    // key that failed once is not tried again for every further line of its block.
    bool writable(std::size_t line, const std::string& name) {
        if (key_.is_open()) return true;
        if (open_failure_ == reg::success) open_failure_ = open_for_writing(path_, true, key_);
        if (open_failure_ != reg::success) {
            note(line, name, open_failure_, "not written: the key could not be opened or created");
            return false;
        }
        return true;
    }
    void check(std::size_t line, const std::string& name, long status) {
        if (status != reg::success) note(line, name, status, "not written");
    }
    void note(std::size_t line, const std::string& name, long status, const char* what) {
        report_.add({line + 1, path_text_, name, status, what});
    }

    RegKey key_;
    // What opening the key answered when it failed, for writes and for deletes.
    long open_failure_ = reg::success;
    long delete_open_failure_ = reg::success;
    std::string path_text_;
    KeyPath path_;
    RegFileReport& report_;
};

// "[-key]": the key goes when it has no subkeys; a key that is not there is gone already.
void delete_key(RegistryApi& api, std::size_t line, const std::string& key_path,
                RegFileReport& report) {
    const KeyPath path = split_key_path(key_path);
    RegKey key(api);
    long status = key.open(path.root, path.sub_key, reg::key_all_access);
    if (status == reg::file_not_found) return;
    if (status == reg::success) status = key.delete_key("");
    if (status != reg::success) report.add({line + 1, key_path, "", status, "key not deleted"});
}

// One value line (trimmed, holding "="). A name in double quotes ends at the first
// quote that is followed by "="; data in double quotes is a text taken as it stands
// between them, so texts keep their "=", double quotes and edge spaces. Anything else
// loses its double quotes and is cut at the next "=". False when the line stops the
// import.
bool apply_value_line(KeyBlock& block, std::size_t line_number, std::string_view line,
                      RegFileReport& report) {
    std::string name;
    std::string_view rest;
    const std::size_t name_end = line[0] == '"' ? line.find("\"=", 1) : std::string_view::npos;
    if (name_end != std::string_view::npos) {
        name = std::string(line.substr(1, name_end - 1));
        rest = line.substr(name_end + 2);
    } else {
        const std::size_t equals = line.find('=');
        name = without_quotes(line.substr(0, equals));
        rest = line.substr(equals + 1);
    }
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
        block.write_text(line_number, name, std::string(rest.substr(1, rest.size() - 2)));
        return true;
    }
    std::string data = without_quotes(rest);
    data = data.substr(0, data.find('='));
    const std::string_view view(data);
    if (trim_spaces(view) == "-") {
        block.delete_value(line_number, name);
    } else if (starts_with_ignoring_case(view, "hex:")) {
        // The pairs are read whole, however many there are.
        block.write_binary(line_number, name, hex_bytes(without_chars(view.substr(4), ", ")));
    } else if (starts_with_ignoring_case(view, "dword:")) {
        const std::optional<std::int32_t> number = dword_number(view.substr(6));
        if (!number) {
            report.failure = "line " + std::to_string(line_number + 1) +
                             ": the number is too large for 32 bits: " + std::string(line);
            return false;
        }
        block.write_number(line_number, name, *number);
    } else {
        block.write_text(line_number, name, data);
    }
    return true;
}

}  // namespace

std::int32_t apply_reg_text(RegistryApi& api, const std::string& text, RegFileReport& report) {
    Lines check(text);
    std::string_view line;
    check.next(line);
    if (!equals_ignoring_case(line, "REGEDIT4")) {
        report.failure = starts_with_ignoring_case(line, "REGEDIT4\n")
                             ? line_ends_failure
                             : "not a REGEDIT4 file: its first line is not \"REGEDIT4\"";
        return 0;
    }
    // A file whose lines end in LF alone would be read as a few long lines, its keys and
    // values mangled: it is refused before anything is changed. (A text value may hold
    // a line feed, a key line never does.)
    while (check.next(line)) {
        line = trim_spaces(line);
        if (!line.empty() && line[0] == '[' && line.find('\n') != std::string_view::npos) {
            report.failure = "line " + std::to_string(check.index() + 1) + ": " + line_ends_failure;
            return 0;
        }
    }
    Lines lines(text);
    lines.next(line);
    // The block of the last key line: its key is opened once for all its values and
    // closed at the next key line. Values outside a block, comments and empty lines are
    // passed over.
    std::optional<KeyBlock> block;
    while (lines.next(line)) {
        line = trim_spaces(line);
        if (!line.empty() && line[0] == '[') {
            block.reset();
            if (line.size() < 2) {
                report.failure = "line " + std::to_string(lines.index() + 1) +
                                 ": a key line without a key: " + std::string(line);
                return 0;
            }
            const std::string key(line.substr(1, line.size() - 2));
            if (!key.empty() && key[0] == '-')
                delete_key(api, lines.index(), key.substr(1), report);
            else
                block.emplace(api, key, report);
            continue;
        }
        if (!block || line.empty() || line[0] == ';' || line.find('=') == std::string_view::npos)
            continue;
        if (!apply_value_line(*block, lines.index(), line, report)) return 0;
    }
    return 1;
}

}  // namespace tarnwell
