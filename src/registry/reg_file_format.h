#pragma once
// Registry file lines as the platform's regedit writes them, for the export: names and
// texts in double quotes with "\" and a double quote escaped by a backslash, the default
// value as @, texts as "...", 4-byte numbers as dword:, bytes as hex: and every other
// type (and numbers of another size) as hex(N): with the stored bytes.
//
// Two forms: REGEDIT4, whose text is in the ANSI code page, and version 5, whose text is
// UTF-16 (little-endian, behind a byte-order mark). The bytes of a text-type value in
// hex(N): are in the file's own encoding.
#include <string>
#include <string_view>

#include "registry/reg_key.h"

namespace tarnwell {

enum class RegFileForm { regedit4, unicode };

// The file's first line and the empty line after it, encoded, with the byte-order mark
// of a version 5 file.
std::string file_header(RegFileForm form);

// A text (a line, a line end) in the file's encoding; fails when it is a REGEDIT4 file
// and the ANSI code page cannot hold a character of it: a look-alike or a "?" would be
// another name or other data.
Result<std::string> file_text(std::string_view utf8, RegFileForm form);

// The text in double quotes, escaped.
std::string quoted(std::string_view text);

// True when the name can stand on a line: it holds no line break.
bool fits_on_a_line(std::string_view name);

// The group a value's line goes in within its key's block; the default value's line
// comes first, whatever its type.
enum class LineGroup { default_value, text, binary, number, other };
LineGroup line_group(const RegValueEntry& value);

// The value's line in the file's encoding, without its line end; fails when the ANSI
// code page of a REGEDIT4 file cannot hold its name or text. The value's name must fit
// on a line.
Result<std::string> value_line(const RegValueEntry& value, RegFileForm form);

}  // namespace tarnwell
