#pragma once
// The parts of one REGEDIT4 line, read as the platform's regedit reads them: names and
// texts in double quotes with \\ and \" as their escapes, @ for the default value,
// hex: and hex(N): bytes of one or two hex digits separated by commas, dword: numbers,
// and comments after ";" outside double quotes.
//
// Files of earlier versions of this program wrote names and texts raw, between double
// quotes, with no escapes. A quoted name or text that does not read as a well-formed
// escaped string (one whose only escapes are \\ and \" and after whose closing quote
// nothing follows but a comment without double quotes) is taken raw, as those versions
// wrote it: the text between its first and last double quote. A text of an earlier
// version always ended in a double quote, so a comment after a text cannot be one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/status.h"

namespace tarnwell {

// "[path]" or "[-path]" (the line starts with "["), maybe followed by a comment.
struct KeyLine {
    std::string path;
    bool removal = false;
};
// Fails when no "]" closes the path with only blanks or a comment after it.
Result<KeyLine> read_key_line(std::string_view line);

// A value line: its name and the data after its "=".
struct ValueLine {
    std::string name;          // "" for the default value
    bool unquoted_at = false;  // the name was written @, not in double quotes
    std::string_view data;
};
// Nothing when the line has no "=": it is no value line, which the import passes over
// as regedit does; that is an answer about the line, not a failure to read it.
std::optional<ValueLine> read_value_line(std::string_view line);

// Hex bytes go on over the lines that follow theirs when a line ends in a backslash
// (before any comment). True when the data of a value line is hex bytes that go on.
bool hex_continues(std::string_view data);
// True when one piece of hex bytes (a line's data, or a whole following line) ends in
// the backslash.
bool piece_continues(std::string_view piece);
// The piece without its comment, its backslash and the blanks around it.
std::string_view continued_bytes(std::string_view piece);
// True when a line can carry on the bytes of a line before it: after blanks it starts
// with a hex digit.
bool carries_bytes_on(std::string_view line);

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
