#include "registry/reg_file_parse.h"

#include "common/little_endian.h"
#include "common/text.h"
#include "registry/hex_codec.h"

namespace tarnwell {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view skip_blanks(std::string_view text) {
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    return text;
}

// True when only blanks, or blanks and a comment, follow.
bool nothing_but_comment(std::string_view rest) {
    rest = skip_blanks(rest);
    return rest.empty() || rest.front() == ';';
}

// The same, with no double quote in the comment: a text of an earlier version, which
// ended in a double quote, cannot end so.
bool nothing_but_plain_comment(std::string_view rest) {
    return nothing_but_comment(rest) && rest.find('"') == std::string_view::npos;
}

// An escaped string at text[0] (a double quote): its text and the index of its closing
// quote. Nothing when it holds another escape than \\ and \" or is not closed.
struct Escaped {
    std::string text;
    std::size_t closing = 0;
};
std::optional<Escaped> read_escaped(std::string_view text) {
    Escaped read;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            read.closing = i;
            return read;
        }
        if (c == '\\') {
            if (i + 1 == text.size() || (text[i + 1] != '\\' && text[i + 1] != '"'))
                return std::nullopt;
            ++i;
        }
        read.text += text[i];
    }
    return std::nullopt;
}

ValueData unreadable(std::string why) {
    ValueData data;
    data.why = std::move(why);
    return data;
}

ValueData text_data(std::string text) {
    ValueData data;
    data.form = ValueData::Form::text;
    data.data = std::move(text);
    return data;
}

// A name before "=" that is not in double quotes, or data that is not in any form of
// the file, as earlier versions read them: double quotes dropped, cut at an "=".
std::string unquoted(std::string_view text) {
    const std::string plain = without_chars(text, "\"");
    return plain.substr(0, plain.find('='));
}

// Data starting with a double quote.
ValueData quoted_text(std::string_view data) {
    if (const auto escaped = read_escaped(data);
        escaped && nothing_but_plain_comment(data.substr(escaped->closing + 1)))
        return text_data(escaped->text);
    const std::size_t last = data.rfind('"');
    if (last == 0) return text_data(unquoted(data));
    if (!nothing_but_comment(data.substr(last + 1)))
        return unreadable("text after the closing double quote");
    return text_data(std::string(data.substr(1, last - 1)));
}

// The bytes of hex data: comma-separated bytes of one or two hex digits, blanks around
// them, a comma after the last one, and a comment allowed.
ValueData hex_data(std::uint32_t type, std::string_view list) {
    list = list.substr(0, list.find(';'));
    ValueData data;
    data.form = ValueData::Form::bytes;
    data.type = type;
    while (!trim_blanks(list).empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view item = trim_blanks(list.substr(0, comma));
        const bool digits = (item.size() == 1 || item.size() == 2) &&
                            hex_digit_value(item.front()) >= 0 && hex_digit_value(item.back()) >= 0;
        if (!digits)
            return unreadable(
                "hex data that is not bytes of one or two hex digits separated by commas");
        data.data += static_cast<char>(item.size() == 1 ? hex_digit_value(item[0])
                                                        : hex_digit_value(item[0]) * 16 +
                                                              hex_digit_value(item[1]));
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return data;
}

// "hex(N):" with the rest of the data after "hex(": N is one to eight hex digits.
ValueData typed_hex_data(std::string_view rest) {
    const std::size_t close = rest.find("):");
    const std::string_view digits = rest.substr(0, close);
    if (close == std::string_view::npos || digits.empty() || digits.size() > 8 ||
        digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
        return unreadable("hex( without a type number in hex and \"):\"");
    std::uint32_t type = 0;
    for (const char c : digits)
        type = type * 16 + static_cast<unsigned>(hex_digit_value(c));
    return hex_data(type, rest.substr(close + 2));
}

// "dword:" with its digits after it: one to eight significant hex digits.
ValueData number_data(std::string_view rest) {
    rest = skip_blanks(rest);
    std::size_t count = 0;
    while (count < rest.size() && hex_digit_value(rest[count]) >= 0)
        ++count;
    if (count == 0) return unreadable("dword: without hex digits");
    if (!nothing_but_comment(rest.substr(count)))
        return unreadable("dword: with text after its digits");
    std::string_view digits = rest.substr(0, count);
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.size() > 8) return unreadable("dword: a number too large for 32 bits");
    std::uint32_t number = 0;
    for (const char c : digits)
        number = number * 16 + static_cast<unsigned>(hex_digit_value(c));
    ValueData data;
    data.form = ValueData::Form::number;
    data.type = 4;
    data.data = u32_le_bytes(number);
    return data;
}

}  // namespace

Result<KeyLine> read_key_line(std::string_view line) {
    // A key's name may hold "]" and ";": the key ends at the last "]" that only blanks
    // or a comment follow.
    for (std::size_t close = line.rfind(']'); close != std::string_view::npos && close > 0;
         close = line.rfind(']', close - 1)) {
        if (!nothing_but_comment(line.substr(close + 1))) continue;
        KeyLine key;
        std::string_view path = line.substr(1, close - 1);
        key.removal = !path.empty() && path.front() == '-';
        if (key.removal) path.remove_prefix(1);
        key.path = std::string(path);
        return key;
    }
    return Status::failure("a key line without its closing ]");
}

std::optional<ValueLine> read_value_line(std::string_view line) {
    ValueLine value;
    if (!line.empty() && line.front() == '"') {
        if (const auto escaped = read_escaped(line)) {
            const std::string_view after = skip_blanks(line.substr(escaped->closing + 1));
            if (!after.empty() && after.front() == '=') {
                value.name = escaped->text;
                value.data = after.substr(1);
                return value;
            }
        }
        // Raw, as earlier versions wrote names: up to the first double quote that "="
        // follows.
        for (std::size_t quote = line.find('"', 1); quote != std::string_view::npos;
             quote = line.find('"', quote + 1)) {
            const std::string_view after = skip_blanks(line.substr(quote + 1));
            if (!after.empty() && after.front() == '=') {
                value.name = std::string(line.substr(1, quote - 1));
                value.data = after.substr(1);
                return value;
            }
        }
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view name = line.substr(0, equals);
    value.unquoted_at = trim_blanks(name) == "@";
    if (!value.unquoted_at) value.name = unquoted(name);
    value.data = line.substr(equals + 1);
    return value;
}

bool hex_continues(std::string_view data) {
    const std::string_view trimmed = skip_blanks(data);
    return (starts_with_ignoring_case(trimmed, "hex:") ||
            starts_with_ignoring_case(trimmed, "hex(")) &&
           piece_continues(data);
}

bool piece_continues(std::string_view piece) {
    const std::string_view bytes = trim_blanks(piece.substr(0, piece.find(';')));
    return !bytes.empty() && bytes.back() == '\\';
}

std::string_view continued_bytes(std::string_view piece) {
    std::string_view bytes = trim_blanks(piece.substr(0, piece.find(';')));
    if (!bytes.empty() && bytes.back() == '\\') bytes.remove_suffix(1);
    return trim_blanks(bytes);
}

bool carries_bytes_on(std::string_view line) {
    line = skip_blanks(line);
    return !line.empty() && hex_digit_value(line.front()) >= 0;
}

ValueData read_value_data(std::string_view data) {
    const std::string_view trimmed = trim_blanks(data);
    if (!trimmed.empty() && trimmed.front() == '"') return quoted_text(trimmed);
    if (trimmed == "-") {
        ValueData removal;
        removal.form = ValueData::Form::removal;
        return removal;
    }
    if (starts_with_ignoring_case(trimmed, "hex:")) return hex_data(3, trimmed.substr(4));
    if (starts_with_ignoring_case(trimmed, "hex(")) return typed_hex_data(trimmed.substr(4));
    if (starts_with_ignoring_case(trimmed, "dword:")) return number_data(trimmed.substr(6));
    // Not a form of the file: read as earlier versions did, blanks around it kept.
    return text_data(unquoted(data));
}

}  // namespace tarnwell
