#pragma once
// REGEDIT4 lines as the platform's regedit writes them, for the export: names and texts
// in double quotes with "\" and a double quote escaped by a backslash, the default value
// as @, texts as "...", 4-byte numbers as dword:, bytes as hex: and every other type
// (and numbers of another size) as hex(N): with the stored bytes.
#include <optional>
#include <string>
#include <string_view>

#include "registry/reg_key.h"

namespace tarnwell {

// The text in double quotes, escaped.
std::string quoted(std::string_view text);

// True when the name can stand on a line: it holds no line break.
bool fits_on_a_line(std::string_view name);

// The group a value's line goes in within its key's block; the default value's line
// comes first, whatever its type.
enum class LineGroup { default_value, text, binary, number, other };
LineGroup line_group(const RegValueEntry& value);

// The value's line, without its line end. The value's name must fit on a line.
std::string value_line(const RegValueEntry& value);

}  // namespace tarnwell
