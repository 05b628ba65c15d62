#include "registry/reg_import_text.h"

#include <string_view>
#include <vector>

#include "common/text.h"
#include "platform/run_time_error.h"
#include "registry/clsRegistryAccess.h"
#include "registry/hex_codec.h"
#include "registry/reg_block_writer.h"

namespace tarnwell {

namespace {

// Lines end with CR LF only; a file with bare LF line ends is one line.
std::vector<std::string_view> split_lines(const std::string& text) {
    std::vector<std::string_view> lines;
    const std::string_view all(text);
    std::size_t start = 0;
    for (std::size_t end; (end = all.find("\r\n", start)) != std::string_view::npos;
         start = end + 2)
        lines.push_back(all.substr(start, end - start));
    lines.push_back(all.substr(start));
    return lines;
}

std::string without_quotes(std::string_view text) { return without_chars(text, "\""); }

// The number of a "dword:" value: its leading hex digits, blanks skipped; no digit
// gives 0. Eight digits with the top bit set are a negative number.
std::int32_t dword_number(std::string_view digits) {
    std::uint64_t number = 0;
    for (char c : digits) {
        if (c == ' ' || c == '\t' || c == '\n') continue;
        const int digit = hex_digit_value(c);
        if (digit < 0) break;
        number = number * 16 + static_cast<std::uint64_t>(digit);
        if (number > 0xFFFFFFFFu) throw run_time_error("Overflow");
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

void write_text(RegBlockWriter& block, const std::string& name, const std::string& text) {
    block.write_text(name, text);
    // An empty default text removes the default value.
    if (name == "@" && text.empty()) block.delete_value("");
}

// One value line (trimmed, holding "="). A name in double quotes ends at the first
// quote that is followed by "="; data in double quotes is a text taken as it stands
// between them, so texts keep their "=", double quotes and edge spaces. Anything else
// loses its double quotes and is cut at the next "=".
void apply_value_line(RegBlockWriter& block, std::string_view line) {
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
        write_text(block, name, std::string(rest.substr(1, rest.size() - 2)));
        return;
    }
    std::string data = without_quotes(rest);
    data = data.substr(0, data.find('='));
    const std::string_view view(data);
    if (trim_spaces(view) == "-") {
        block.delete_value(name);
    } else if (starts_with_ignoring_case(view, "hex:")) {
        // The pairs are read whole, however many there are.
        block.write_binary(name, hex_bytes(without_chars(view.substr(4), ", ")));
    } else if (starts_with_ignoring_case(view, "dword:")) {
        block.write_number(name, dword_number(view.substr(6)));
    } else {
        write_text(block, name, data);
    }
}

}  // namespace

std::int32_t apply_reg_text(clsRegistryAccess& registry, RegistryApi& api,
                            const std::string& text) {
    const std::vector<std::string_view> lines = split_lines(text);
    if (!equals_ignoring_case(lines[0], "REGEDIT4")) return 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        // Only key lines start a block; values outside one, comments and empty lines
        // are passed over.
        const std::string_view key_line = trim_spaces(lines[i]);
        if (key_line.empty() || key_line[0] != '[') continue;
        if (key_line.size() < 2) throw run_time_error("Invalid procedure call or argument");
        const std::string key(key_line.substr(1, key_line.size() - 2));
        if (!key.empty() && key[0] == '-') {
            // Removes the key only when it has no subkeys.
            registry.KillKey(key.substr(1));
            continue;
        }
        // The block's key is opened once for all its values and closed before the next
        // key line.
        RegBlockWriter block(api, key);
        std::size_t j = i + 1;
        for (; j < lines.size(); ++j) {
            const std::string_view line = trim_spaces(lines[j]);
            if (!line.empty() && line[0] == '[') break;
            if (line.empty() || line[0] == ';' || line.find('=') == std::string_view::npos)
                continue;
            apply_value_line(block, line);
        }
        i = j - 1;
    }
    return 1;
}

}  // namespace tarnwell
