// The summary of many reports: each report streamed through nlohmann's SAX parser a
// chunk at a time, its shape checked event by event and only the table's cells kept;
// then the CSV table of the rows kept.
#include "report/report_summary.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <unordered_set>
#include <utility>

#include <nlohmann/json.hpp>

#include "platform/bytes_in_memory.h"
#include "platform/file_bytes.h"

namespace tarnwell {

namespace {

// Arrays and objects nested deeper than this are refused; a report nests three deep.
constexpr int max_nesting = 64;

constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";

// The four columns every row starts with, in order.
constexpr const char* fixed_columns[] = {"computer", "user", "generated_utc", "version"};
constexpr std::size_t fixed_column_count = std::size(fixed_columns);

// A report file's bytes as the parser takes them, read in chunks into one buffer, and
// how many the parser has taken. A read that fails, or a file that grows past the
// limit while it is read, ends the bytes early and is kept as the failure.
class StreamedBytes {
public:
    StreamedBytes(ReadableFile& file, std::uint64_t size_limit)
        : file_(file), size_limit_(size_limit), buffer_(new char[chunk_size]) {}

    // An input iterator over the bytes, as the parser reads them; the default one is
    // the end.
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = char;
        using difference_type = std::ptrdiff_t;
        using pointer = const char*;
        using reference = char;

        Iterator() = default;
        explicit Iterator(StreamedBytes* bytes) : bytes_(bytes) {}
        char operator*() const { return bytes_->current(); }
        Iterator& operator++() {
            bytes_->advance();
            return *this;
        }
        bool operator==(const Iterator& other) const { return at_end() == other.at_end(); }
        bool operator!=(const Iterator& other) const { return !(*this == other); }

    private:
        bool at_end() const { return bytes_ == nullptr || bytes_->at_end(); }
        StreamedBytes* bytes_ = nullptr;
    };

    Iterator begin() { return Iterator(this); }
    static Iterator end() { return Iterator(); }

    // The bytes the parser has taken so far.
    std::uint64_t taken() const { return read_ - (size_ - position_); }
    // Why the bytes ended early; success when they did not.
    const Status& failure() const { return failure_; }

private:
    static constexpr std::size_t chunk_size = 64 * 1024;

    bool at_end() {
        if (position_ < size_) return false;
        if (finished_) return true;
        const Result<std::size_t> got = file_.read(buffer_.get(), chunk_size);
        if (!got.ok() || *got == 0) {
            failure_ = got.status();
            finished_ = true;
            return true;
        }
        if (read_ + *got > size_limit_) {
            failure_ = file_too_large(read_ + *got, size_limit_);
            finished_ = true;
            return true;
        }
        read_ += *got;
        size_ = *got;
        position_ = 0;
        return false;
    }
    char current() const { return buffer_[position_]; }
    void advance() { ++position_; }

    ReadableFile& file_;
    const std::uint64_t size_limit_;
    std::unique_ptr<char[]> buffer_;
    std::size_t size_ = 0;      // bytes in the buffer
    std::size_t position_ = 0;  // the next byte's place in the buffer
    std::uint64_t read_ = 0;    // bytes read from the file
    bool finished_ = false;
    Status failure_;
};

// One check as the table shows it: its column's id and its cell.
struct CheckCell {
    std::string id;
    std::string cell;
};

// What the table keeps of one report: the fixed columns' fields, then the checks.
struct ReportCells {
    std::string fixed[fixed_column_count];
    std::vector<CheckCell> checks;
};

// The report's shape, read from the parser's events: an object with string computer,
// user, generated_utc and version and a checks array of objects, each with a string id
// (unique within the report, and none of the fixed columns' names), a string status and
// a value that is a string, an integer or null. Other members are checked as JSON and
// ignored. A member the table reads may appear only once: with two, which one the table
// showed would be a guess. The first fault ends the parse and is kept.
class ReportEvents {
public:
    using Json = nlohmann::json;

    explicit ReportEvents(const StreamedBytes& bytes) : bytes_(bytes) {}

    // The report, once the parse has ended with success.
    ReportCells& cells() { return cells_; }
    // The first fault; success when there is none.
    const Status& fault() const { return fault_; }

    // The parser's events.
    bool null() { return scalar(Scalar::null, nullptr); }
    bool boolean(bool) { return scalar(Scalar::other, nullptr); }
    bool number_integer(Json::number_integer_t number) {
        std::string digits = std::to_string(number);
        return scalar(Scalar::integer, &digits);
    }
    bool number_unsigned(Json::number_unsigned_t number) {
        std::string digits = std::to_string(number);
        return scalar(Scalar::integer, &digits);
    }
    // An integer too long for 64 bits arrives here too: its digits as written.
    bool number_float(Json::number_float_t, const std::string& written) {
        std::string digits = written;
        const bool integer = written.find_first_of(".eE") == std::string::npos;
        return scalar(integer ? Scalar::integer : Scalar::other, &digits);
    }
    bool string(std::string& text) { return scalar(Scalar::string, &text); }
    bool binary(Json::binary_t&) { return scalar(Scalar::other, nullptr); }
    bool start_object(std::size_t) { return open(true); }
    bool start_array(std::size_t) { return open(false); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool key(std::string& name);
    bool parse_error(std::size_t, const std::string& last_read,
                     const nlohmann::detail::exception& error);

private:
    enum class Scalar { string, integer, null, other };
    // What the next value is: a field the table reads, or one it skips.
    enum class Slot { none, fixed, checks, check_id, check_status, check_value, skipped };
    // Depths while the report is read: its object, the checks array, a check.
    static constexpr int report_depth = 1, checks_depth = 2, check_depth = 3;

    bool scalar(Scalar kind, std::string* text);
    bool open(bool object);
    bool close();
    bool end_check();
    bool end_report();
    // Keeps the text of the field named `what`, unless it holds a NUL character.
    bool take_text(const std::string& what, std::string* text, std::string& into);
    bool first_time(std::unordered_set<std::string>& seen, const std::string& name);
    std::string check_name() const { return "checks[" + std::to_string(cells_.checks.size()) + "]"; }
    // Keeps the first fault and ends the parse (the parser's events answer false).
    bool fail(std::string fault) {
        if (fault_.ok()) fault_ = Status::failure(std::move(fault));
        return false;
    }

    const StreamedBytes& bytes_;
    ReportCells cells_;
    Status fault_;
    int depth_ = 0;
    int skipped_from_ = 0;  // the depth of the container being skipped, 0 for none
    Slot slot_ = Slot::none;
    std::size_t fixed_index_ = 0;  // the fixed column of Slot::fixed
    bool in_checks_ = false;
    std::unordered_set<std::string> report_members_;
    // The check being read, and the ids of those read, with their index.
    std::unordered_set<std::string> check_members_;
    std::string check_id_, check_status_;
    std::optional<std::string> check_value_;
    std::unordered_map<std::string, std::size_t> index_of_id_;
};

bool ReportEvents::key(std::string& name) {
    if (skipped_from_ != 0) return true;
    slot_ = Slot::skipped;
    if (depth_ == report_depth) {
        for (std::size_t i = 0; i < fixed_column_count; ++i) {
            if (name != fixed_columns[i]) continue;
            slot_ = Slot::fixed;
            fixed_index_ = i;
        }
        if (name == "checks") slot_ = Slot::checks;
        return slot_ == Slot::skipped || first_time(report_members_, name);
    }
    if (name == "id") slot_ = Slot::check_id;
    if (name == "status") slot_ = Slot::check_status;
    if (name == "value") slot_ = Slot::check_value;
    return slot_ == Slot::skipped || first_time(check_members_, name);
}

bool ReportEvents::scalar(Scalar kind, std::string* text) {
    if (skipped_from_ != 0) return true;
    const Slot slot = std::exchange(slot_, Slot::none);
    if (depth_ == 0) return fail("expected an object");
    if (depth_ == checks_depth) return fail(check_name() + " is not an object");
    switch (slot) {
    case Slot::fixed: {
        const std::string what = std::string("\"") + fixed_columns[fixed_index_] + "\"";
        if (kind != Scalar::string) return fail(what + " is not a string");
        return take_text(what, text, cells_.fixed[fixed_index_]);
    }
    case Slot::checks:
        return fail("\"checks\" is not an array");
    case Slot::check_id:
    case Slot::check_status: {
        const bool id = slot == Slot::check_id;
        const std::string what = "\"" + check_name() + (id ? ".id" : ".status") + "\"";
        if (kind != Scalar::string) return fail(what + " is not a string");
        return take_text(what, text, id ? check_id_ : check_status_);
    }
    case Slot::check_value:
        if (kind == Scalar::null) return true;
        if (kind == Scalar::other)
            return fail(check_name() + ".value is not a string, integer or null");
        return take_text("\"" + check_name() + ".value\"", text, check_value_.emplace());
    default:
        return true;
    }
}

bool ReportEvents::take_text(const std::string& what, std::string* text, std::string& into) {
    if (text->find('\0') != std::string::npos) return fail(what + " holds a NUL character");
    into = std::move(*text);
    return true;
}

bool ReportEvents::open(bool object) {
    if (depth_ == max_nesting) return fail("nesting deeper than " + std::to_string(max_nesting));
    ++depth_;
    if (skipped_from_ != 0) return true;
    const Slot slot = std::exchange(slot_, Slot::none);
    if (depth_ == report_depth) return object || fail("expected an object");
    if (slot == Slot::skipped) {
        skipped_from_ = depth_;
        return true;
    }
    if (slot == Slot::checks) {
        if (object) return fail("\"checks\" is not an array");
        in_checks_ = true;
        return true;
    }
    if (depth_ == check_depth && in_checks_) {
        if (!object) return fail(check_name() + " is not an object");
        check_members_.clear();
        check_id_.clear();
        check_status_.clear();
        check_value_.reset();
        return true;
    }
    // A field the table reads holds an object or an array.
    if (slot == Slot::fixed)
        return fail(std::string("\"") + fixed_columns[fixed_index_] + "\" is not a string");
    if (slot == Slot::check_value)
        return fail(check_name() + ".value is not a string, integer or null");
    return fail("\"" + check_name() + (slot == Slot::check_id ? ".id" : ".status") +
                "\" is not a string");
}

bool ReportEvents::close() {
    const int closed = depth_--;
    if (skipped_from_ != 0) {
        if (closed == skipped_from_) skipped_from_ = 0;
        return true;
    }
    if (closed == check_depth) return end_check();
    if (closed == checks_depth) in_checks_ = false;
    if (closed == report_depth) return end_report();
    return true;
}

bool ReportEvents::end_check() {
    const std::string check = check_name();
    for (const char* name : {"id", "status", "value"}) {
        if (!check_members_.count(name)) return fail(check + " has no \"" + name + "\"");
    }
    for (const char* fixed : fixed_columns) {
        if (check_id_ == fixed)
            return fail(check + " has the id \"" + fixed + "\" of a fixed column");
    }
    // Named by index: the id itself is the report's text, not fit for a console.
    const auto [first, is_new] = index_of_id_.emplace(check_id_, cells_.checks.size());
    if (!is_new)
        return fail(check + " repeats the id of checks[" + std::to_string(first->second) + "]");
    std::string cell = std::move(check_status_);
    if (check_value_) cell += ": " + *check_value_;
    cells_.checks.push_back({std::move(check_id_), std::move(cell)});
    return true;
}

bool ReportEvents::end_report() {
    for (const char* name : fixed_columns) {
        if (!report_members_.count(name)) return fail(std::string("no \"") + name + "\"");
    }
    if (!report_members_.count("checks")) return fail("no \"checks\"");
    return true;
}

bool ReportEvents::first_time(std::unordered_set<std::string>& seen, const std::string& name) {
    return seen.insert(name).second || fail("second \"" + name + "\"");
}

// The parser's own words, without its prefix ("[json.exception.parse_error.101] parse
// error at line 1, column 7: ") and without the bytes it last read, which are the
// report's text and not fit for a console; then where it stopped.
bool ReportEvents::parse_error(std::size_t, const std::string& last_read,
                               const nlohmann::detail::exception& error) {
    std::string words = error.what();
    const std::size_t column = words.find("column ");
    const std::size_t prefix_end = words.find(": ", column == std::string::npos ? 0 : column);
    if (prefix_end != std::string::npos) words.erase(0, prefix_end + 2);
    const std::string quoted = "; last read: '" + last_read + "'";
    if (const std::size_t at = words.find(quoted); at != std::string::npos)
        words.erase(at, quoted.size());
    return fail(words + " at byte " + std::to_string(bytes_.taken()));
}

// A field as the CSV writes it. One that would start with '=', '+', '-', '@', TAB or CR
// (a formula, or a spreadsheet's way into one) starts with '\'' instead. Then RFC 4180:
// quoted, its quotes doubled, when it holds a comma, a quote or a line break.
std::string csv_field(std::string_view text) {
    std::string field;
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        field += '\'';
    field += text;
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

void ReportSummary::add_report(const std::string& name, ReadableFile& file) {
    const Result<std::uint64_t> size = file.size();
    if (size.ok() && *size > report_size_limit) {
        messages_.push_back(name + ": " + file_too_large(*size, report_size_limit).description());
        return;
    }
    StreamedBytes bytes(file, report_size_limit);
    ReportEvents events(bytes);
    const bool parsed = nlohmann::json::sax_parse(bytes.begin(), StreamedBytes::end(), &events);
    if (!bytes.failure().ok()) {
        messages_.push_back(name + ": " + bytes.failure().description());
        return;
    }
    if (!parsed) {
        messages_.push_back(name + ": not a report: " + events.fault().description());
        return;
    }
    ReportCells& cells = events.cells();

    // The columns of the ids first seen here, as many as the limit leaves room for.
    std::vector<std::string_view> new_ids;
    std::size_t ids_left_out = 0;
    for (const CheckCell& check : cells.checks) {
        if (column_of_id_.count(check.id)) continue;
        if (header_.size() + new_ids.size() < check_column_limit) {
            new_ids.emplace_back(check.id);
        } else {
            ++ids_left_out;
        }
    }
    std::vector<std::string> new_header;
    std::size_t new_columns_cost = 0;
    for (const std::string_view id : new_ids) {
        new_header.push_back(csv_field(id));
        new_columns_cost += id.size() + new_header.back().size();
    }

    Row row;
    auto next_column = static_cast<std::uint32_t>(fixed_column_count + header_.size());
    std::unordered_map<std::string_view, std::uint32_t> new_column_of_id;
    for (const std::string_view id : new_ids)
        new_column_of_id.emplace(id, next_column++);
    const auto add_field = [&](std::uint32_t column, std::string_view text) {
        const std::string field = csv_field(text);
        row.fields.push_back({column, static_cast<std::uint32_t>(row.text.size()),
                              static_cast<std::uint32_t>(field.size())});
        row.text += field;
    };
    for (std::uint32_t i = 0; i < fixed_column_count; ++i)
        add_field(i, cells.fixed[i]);
    for (const CheckCell& check : cells.checks) {
        if (const auto known = column_of_id_.find(check.id); known != column_of_id_.end()) {
            add_field(known->second, check.cell);
        } else if (const auto added = new_column_of_id.find(check.id);
                   added != new_column_of_id.end()) {
            add_field(added->second, check.cell);
        }
    }
    // A row counts its text, its fields' places and the separators its CSV record can
    // have (a comma between any two columns, CR LF); a new column its id and its field.
    constexpr std::size_t separators = fixed_column_count + check_column_limit + 1;
    const std::size_t cost = sizeof(Row) + row.text.size() +
                             row.fields.size() * sizeof(Row::Field) + separators +
                             new_columns_cost;
    if (cost > table_size_limit_ - table_size_) {
        messages_.push_back(name + ": left out: the table holds " +
                            std::to_string(table_size_limit_ / (1024 * 1024)) + " MB at most");
        return;
    }
    table_size_ += cost;
    std::sort(row.fields.begin(), row.fields.end(),
              [](const Row::Field& a, const Row::Field& b) { return a.column < b.column; });
    row.text.shrink_to_fit();
    rows_.push_back(std::move(row));
    for (std::size_t i = 0; i < new_ids.size(); ++i) {
        column_of_id_.emplace(std::string(new_ids[i]),
                              static_cast<std::uint32_t>(fixed_column_count + header_.size()));
        header_.push_back(std::move(new_header[i]));
    }
    if (ids_left_out > 0)
        messages_.push_back(name + ": " + std::to_string(ids_left_out) +
                            (ids_left_out == 1 ? " check" : " checks") +
                            " left out of its row: the table has " +
                            std::to_string(check_column_limit) + " check columns at most");
}

void ReportSummary::add_report(const std::string& name, std::string_view bytes) {
    BytesInMemory file(bytes);
    add_report(name, file);
}

std::string ReportSummary::csv() const {
    std::string csv(utf8_bom);
    const std::size_t columns = fixed_column_count + header_.size();
    for (std::size_t i = 0; i < columns; ++i) {
        if (i > 0) csv += ',';
        csv += i < fixed_column_count ? fixed_columns[i] : header_[i - fixed_column_count];
    }
    csv += "\r\n";
    std::size_t size = csv.size();
    for (const Row& row : rows_)
        size += row.text.size() + columns + 1;
    csv.reserve(size);
    for (const Row& row : rows_) {
        auto field = row.fields.begin();
        for (std::uint32_t column = 0; column < columns; ++column) {
            if (column > 0) csv += ',';
            if (field != row.fields.end() && field->column == column) {
                csv.append(row.text, field->begin, field->size);
                ++field;
            }
        }
        csv += "\r\n";
    }
    return csv;
}

}  // namespace tarnwell
