#pragma once
// The parts of one REGEDIT4 line, read as the platform's regedit reads them: names and
// texts in double quotes with \\ and \" as their escapes, @ for the default value,
// hex: and hex(N): bytes of one or two hex digits separated by commas, dword: numbers,
// and comments after ";" outside double quotes.
//
// Files of earlier versions of this program wrote names and texts raw, between double
// quotes, with no escapes. A quoted name or text that does not read as a well-formed
// escaped string (one whose only escapes are \\ and \" and after whose closing quote
// nothing follows) is taken raw, as those versions wrote it: the text between its first
// and last double quote.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwell {

// Without the spaces and tabs at either end.
std::string_view trim_blanks(std::string_view text);

// "[path]" or "[-path]" (the line starts with "["), maybe followed by a comment.
struct KeyLine {
    std::string path;
    bool removal = false;
};
// Nothing when no "]" closes the path with only blanks or a comment after it.
std::optional<KeyLine> read_key_line(std::string_view line);

// A value line: its name and the data after its "=".
struct ValueLine {
    std::string name;          // "" for the default value
    bool unquoted_at = false;  // the name was written @, not in double quotes
    std::string_view data;
};
// Nothing when the line has no "=".
std::optional<ValueLine> read_value_line(std::string_view line);

// True when the data is hex bytes whose line ends in a backslash: they go on on the
// next line.
bool hex_continues(std::string_view data);
// The data of a continued line without its backslash (and any comment after it), then
// the next line without its leading blanks.
std::string join_continued(std::string_view data, std::string_view next_line);

// What a value line's data asks for.
struct ValueData {
    enum class Form { text, removal, bytes, number, unreadable };
    Form form = Form::unreadable;
    std::uint32_t type = 0;  // bytes: 3 for hex:, N for hex(N):
    std::string data;        // text: its characters; bytes: the bytes; number: 4 bytes
    std::string why;         // unreadable: what is wrong with it
};
ValueData read_value_data(std::string_view data);

}  // namespace tarnwell
