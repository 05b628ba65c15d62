// The summary of many reports: a strict JSON reader, the report's shape read with it,
// and the CSV table. The reader walks a document once and hands each member and item to
// its caller, which reads the few values the table needs and skips the rest, so memory
// grows only with what is kept and the stack only to the bounded nesting.
#include "report/report_summary.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "common/status.h"
#include "common/utf8.h"

namespace tarnwell {

namespace {

// Arrays and objects nested deeper than this are refused; a report nests three deep.
constexpr int max_nesting = 64;

constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The length of the well-formed UTF-8 sequence that `bytes` starts with (its first byte
// 0x80 or above), or 0 when there is none: overlong forms, encoded surrogates, code
// points above U+10FFFF and cut sequences are not UTF-8.
std::size_t utf8_sequence_length(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char second_low = 0x80, second_high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) second_low = 0xA0;
        if (lead == 0xED) second_high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) second_low = 0x90;
        if (lead == 0xF4) second_high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() < length || byte(1) < second_low || byte(1) > second_high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

// A strict JSON reader over one document. Each read checks what it reads; the first
// failure is kept, with the offset where it was found, and makes every read after it
// fail too, so a caller only passes a false on.
class JsonReader {
public:
    // A leading byte order mark is skipped: editors add one. Offsets still count it.
    explicit JsonReader(std::string_view document) : text_(document) {
        if (text_.substr(0, utf8_bom.size()) == utf8_bom) pos_ = utf8_bom.size();
    }

    // The first failure, "" while there is none.
    const std::string& error() const { return error_; }
    bool fail(const std::string& what) {
        if (error_.empty()) error_ = what;
        return false;
    }
    bool fail_at(const std::string& what, std::size_t offset) {
        return fail(what + " at byte " + std::to_string(offset));
    }
    bool fail_here(const std::string& what) { return fail_at(what, pos_); }

    // The byte that starts the next token, after any whitespace; '\0' at the end.
    char peek() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    std::size_t position() const { return pos_; }

    // An object; on_member(name, offset of the name) is called with the reader at the
    // member's value and must read or skip it.
    template <class OnMember>
    bool read_object(OnMember on_member) {
        if (peek() != '{') return fail_here("expected an object");
        if (!enter_nesting()) return false;
        ++pos_;
        if (peek() == '}') return leave_nesting();
        for (;;) {
            if (peek() != '"') return fail_here("expected a member name");
            const std::size_t name_offset = pos_;
            std::string name;
            if (!read_string(name)) return false;
            if (peek() != ':') return fail_here("expected ':'");
            ++pos_;
            if (!on_member(name, name_offset)) return false;
            if (peek() == '}') return leave_nesting();
            if (peek() != ',') return fail_here("expected ',' or '}'");
            ++pos_;
        }
    }

    // An array; on_item(index) is called with the reader at each item and must read or
    // skip it.
    template <class OnItem>
    bool read_array(OnItem on_item) {
        if (peek() != '[') return fail_here("expected an array");
        if (!enter_nesting()) return false;
        ++pos_;
        if (peek() == ']') return leave_nesting();
        for (std::size_t index = 0;; ++index) {
            if (!on_item(index)) return false;
            if (peek() == ']') return leave_nesting();
            if (peek() != ',') return fail_here("expected ',' or ']'");
            ++pos_;
        }
    }

    bool read_string(std::string& out) {
        if (peek() != '"') return fail_here("expected a string");
        const std::size_t start = pos_++;
        out.clear();
        while (pos_ < text_.size()) {
            const unsigned char c = static_cast<unsigned char>(text_[pos_]);
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c == '\\') {
                if (!read_escape(out)) return false;
            } else if (c < 0x20) {
                return fail_here("control character in a string");
            } else if (c < 0x80) {
                out += static_cast<char>(c);
                ++pos_;
            } else {
                const std::size_t length = utf8_sequence_length(text_.substr(pos_));
                if (length == 0) return fail_here("invalid UTF-8");
                out.append(text_.substr(pos_, length));
                pos_ += length;
            }
        }
        return fail_at("unterminated string", start);
    }

    // A number as written, and whether it is an integer (no fraction, no exponent). The
    // digits are kept, not converted, so no number is too long to read.
    bool read_number(std::string& written, bool& integer) {
        peek();
        const std::size_t start = pos_;
        std::size_t p = pos_;
        const auto digit_at = [&](std::size_t i) { return i < text_.size() && is_digit(text_[i]); };
        const auto skip_digits = [&] {
            while (digit_at(p))
                ++p;
        };
        if (p < text_.size() && text_[p] == '-') ++p;
        if (!digit_at(p)) return fail_at("invalid number", start);
        if (text_[p] == '0') {
            ++p;
        } else {
            skip_digits();
        }
        integer = true;
        if (p < text_.size() && text_[p] == '.') {
            if (!digit_at(++p)) return fail_at("invalid number", start);
            skip_digits();
            integer = false;
        }
        if (p < text_.size() && (text_[p] == 'e' || text_[p] == 'E')) {
            ++p;
            if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) ++p;
            if (!digit_at(p)) return fail_at("invalid number", start);
            skip_digits();
            integer = false;
        }
        written.assign(text_.substr(start, p - start));
        pos_ = p;
        return true;
    }

    bool read_literal(std::string_view word) {
        peek();
        if (text_.substr(pos_, word.size()) != word) return fail_here("expected a value");
        pos_ += word.size();
        return true;
    }

    // Any value, checked and dropped.
    bool skip_value() {
        std::string dropped;
        bool integer = false;
        switch (peek()) {
        case '{':
            return read_object([this](const std::string&, std::size_t) { return skip_value(); });
        case '[':
            return read_array([this](std::size_t) { return skip_value(); });
        case '"':
            return read_string(dropped);
        case 't':
            return read_literal("true");
        case 'f':
            return read_literal("false");
        case 'n':
            return read_literal("null");
        default:
            if (peek() == '-' || is_digit(peek())) return read_number(dropped, integer);
            return fail_here("expected a value");
        }
    }

    // Nothing but whitespace may follow the document.
    bool read_end() {
        peek();
        if (pos_ != text_.size()) return fail_here("unexpected data after the document");
        return true;
    }

private:
    bool enter_nesting() {
        if (++depth_ > max_nesting)
            return fail_here("nesting deeper than " + std::to_string(max_nesting));
        return true;
    }
    bool leave_nesting() {
        ++pos_;
        --depth_;
        return true;
    }

    // One escape, the reader at its backslash. A \u escape of a UTF-16 high surrogate
    // must be followed by one of a low surrogate; the pair is one code point.
    bool read_escape(std::string& out) {
        const std::size_t start = pos_;
        const char kind = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
        static constexpr std::string_view escaped = "\"\\/bfnrt";
        static constexpr std::string_view meant = "\"\\/\b\f\n\r\t";
        if (const std::size_t simple = escaped.find(kind); simple != std::string_view::npos) {
            out += meant[simple];
            pos_ += 2;
            return true;
        }
        if (kind != 'u') return fail_at("invalid escape", start);
        const std::optional<std::uint32_t> unit = hex_unit(pos_ + 2);
        if (!unit) return fail_at("invalid \\u escape", start);
        pos_ += 6;
        std::uint32_t code_point = *unit;
        if (*unit >= 0xDC00 && *unit <= 0xDFFF) return fail_at("lone surrogate", start);
        if (*unit >= 0xD800 && *unit <= 0xDBFF) {
            const bool escape_follows = text_.substr(pos_, 2) == "\\u";
            const std::optional<std::uint32_t> low =
                escape_follows ? hex_unit(pos_ + 2) : std::nullopt;
            if (!low || *low < 0xDC00 || *low > 0xDFFF) return fail_at("lone surrogate", start);
            code_point = 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00);
            pos_ += 6;
        }
        append_utf8(out, code_point);
        return true;
    }

    // The four hex digits at `offset`, if there are four.
    std::optional<std::uint32_t> hex_unit(std::size_t offset) const {
        if (offset + 4 > text_.size()) return std::nullopt;
        std::uint32_t unit = 0;
        for (const char c : text_.substr(offset, 4)) {
            unit <<= 4;
            if (is_digit(c)) {
                unit |= static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                unit |= static_cast<std::uint32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                unit |= static_cast<std::uint32_t>(c - 'A' + 10);
            } else {
                return std::nullopt;
            }
        }
        return unit;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    std::string error_;
};

// One check as the table shows it: its column and its cell.
struct CheckCell {
    std::string id;
    std::string cell;
};

// What the table keeps of one report.
struct SummarisedReport {
    std::string computer;
    std::string user;
    std::string generated_utc;
    std::string version;
    std::vector<CheckCell> checks;
};

// Reads one report: an object with string computer, user, generated_utc and version and
// a checks array of objects, each with a string id (unique within the report), a string
// status and a value that is a string, an integer or null. Other members are checked as
// JSON and ignored. A member the table reads may appear only once: with two, which one
// the table showed would be a guess.
class ReportReader {
public:
    explicit ReportReader(std::string_view bytes) : json_(bytes) {}

    Result<SummarisedReport> read() {
        SummarisedReport report;
        if (!read_report(report)) return Status::failure(json_.error());
        return report;
    }

private:
    bool read_report(SummarisedReport& report) {
        const std::pair<const char*, std::string*> texts[] = {
            {"computer", &report.computer},
            {"user", &report.user},
            {"generated_utc", &report.generated_utc},
            {"version", &report.version},
        };
        std::unordered_set<std::string> seen;
        const bool read = json_.read_object([&](const std::string& name, std::size_t offset) {
            for (const auto& [text_name, text] : texts) {
                if (name != text_name) continue;
                return first_time(seen, name, offset) && read_text(name, *text);
            }
            if (name == "checks") return first_time(seen, name, offset) && read_checks(report);
            return json_.skip_value();
        });
        if (!read || !json_.read_end()) return false;
        for (const auto& [text_name, text] : texts) {
            if (!seen.count(text_name)) return json_.fail(std::string("no \"") + text_name + "\"");
        }
        if (!seen.count("checks")) return json_.fail("no \"checks\"");
        return true;
    }

    bool read_checks(SummarisedReport& report) {
        if (json_.peek() != '[') return json_.fail_here("\"checks\" is not an array");
        std::unordered_map<std::string, std::size_t> index_of_id;
        return json_.read_array([&](std::size_t index) {
            const std::string where = "checks[" + std::to_string(index) + "]";
            const std::size_t offset = json_.position();
            CheckCell check;
            if (!read_check(where, check)) return false;
            // Named by index: the id itself is the report's text, not fit for a console.
            const auto [first, is_new] = index_of_id.emplace(check.id, index);
            if (!is_new)
                return json_.fail_at(
                    where + " repeats the id of checks[" + std::to_string(first->second) + "]",
                    offset);
            report.checks.push_back(std::move(check));
            return true;
        });
    }

    bool read_check(const std::string& where, CheckCell& check) {
        if (json_.peek() != '{') return json_.fail_here(where + " is not an object");
        std::unordered_set<std::string> seen;
        std::string status;
        std::optional<std::string> value;
        const bool read = json_.read_object([&](const std::string& name, std::size_t offset) {
            if (name == "id" || name == "status")
                return first_time(seen, name, offset) &&
                       read_text(where + "." + name, name == "id" ? check.id : status);
            if (name == "value") return first_time(seen, name, offset) && read_value(where, value);
            return json_.skip_value();
        });
        if (!read) return false;
        for (const char* name : {"id", "status", "value"}) {
            if (!seen.count(name)) return json_.fail(where + " has no \"" + name + "\"");
        }
        check.cell = value ? status + ": " + *value : status;
        return true;
    }

    // A check's value: text as it is, an integer as its digits, nothing for null.
    bool read_value(const std::string& where, std::optional<std::string>& value) {
        const char first = json_.peek();
        const std::size_t offset = json_.position();
        const std::string refused = where + ".value is not a string, integer or null";
        if (first == 'n') return json_.read_literal("null");
        value.emplace();
        if (first == '"') return json_.read_string(*value);
        if (first != '-' && !is_digit(first)) return json_.fail_here(refused);
        bool integer = false;
        if (!json_.read_number(*value, integer)) return false;
        return integer || json_.fail_at(refused, offset);
    }

    bool read_text(const std::string& what, std::string& text) {
        if (json_.peek() != '"') return json_.fail_here("\"" + what + "\" is not a string");
        return json_.read_string(text);
    }

    bool first_time(std::unordered_set<std::string>& seen, const std::string& name,
                    std::size_t offset) {
        return seen.insert(name).second || json_.fail_at("second \"" + name + "\"", offset);
    }

    JsonReader json_;
};

// One field as RFC 4180 has it: quoted, its quotes doubled, when it holds a comma, a
// quote or a line break; as it is otherwise.
void append_field(std::string& csv, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        csv += field;
        return;
    }
    csv += '"';
    for (const char c : field) {
        if (c == '"') csv += '"';
        csv += c;
    }
    csv += '"';
}

void append_record(std::string& csv, const std::vector<std::string_view>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) csv += ',';
        append_field(csv, fields[i]);
    }
    csv += "\r\n";
}

}  // namespace

ReportSummary summarise_reports(const std::vector<ReportFile>& reports) {
    ReportSummary summary;
    std::vector<SummarisedReport> rows;
    std::vector<std::string_view> header = {"computer", "user", "generated_utc", "version"};
    std::unordered_map<std::string, std::size_t> column_of_id;
    for (const ReportFile& file : reports) {
        Result<SummarisedReport> report = ReportReader(file.bytes).read();
        if (!report.ok()) {
            summary.unreadable_reports.push_back(
                file.name + ": not a report: " + report.status().description());
            continue;
        }
        rows.push_back(std::move(report).value());
    }
    // The ids are views into the rows, which no longer move.
    for (const SummarisedReport& row : rows) {
        for (const CheckCell& check : row.checks) {
            if (column_of_id.emplace(check.id, header.size()).second) header.push_back(check.id);
        }
    }

    summary.csv = utf8_bom;
    append_record(summary.csv, header);
    for (const SummarisedReport& row : rows) {
        std::vector<std::string_view> fields(header.size());
        fields[0] = row.computer;
        fields[1] = row.user;
        fields[2] = row.generated_utc;
        fields[3] = row.version;
        for (const CheckCell& check : row.checks)
            fields[column_of_id.at(check.id)] = check.cell;
        append_record(summary.csv, fields);
    }
    return summary;
}

}  // namespace tarnwell
