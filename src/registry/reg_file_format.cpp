#include "registry/reg_file_format.h"

#include <cstdio>
#include <optional>

#include "common/little_endian.h"
#include "common/utf8.h"
#include "platform/code_page.h"
#include "registry/hex_codec.h"
#include "registry/reg_file_unicode.h"

namespace tarnwell {

namespace {

// The data of a text value that reads back exactly from "...": its characters and one
// terminating NUL, with no other NUL and no line break among them.
std::optional<std::string_view> plain_text(std::string_view data) {
    if (data.empty() || data.back() != '\0') return std::nullopt;
    data.remove_suffix(1);
    if (data.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos)
        return std::nullopt;
    return data;
}

std::string typed_hex(std::uint32_t type, std::string_view bytes) {
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(type));
    return prefix + hex_pairs(bytes, ',');
}

// The stored bytes of a value as hex(N): writes them: a text's in the file's encoding.
Result<std::string> file_bytes(const RegValueEntry& value, RegFileForm form) {
    if (!reg::is_text_type(value.type)) return value.data;
    if (form == RegFileForm::unicode) return utf16le_bytes(utf16_from_utf8(value.data));
    return ansi_from_utf8(value.data);
}

Result<std::string> value_data(const RegValueEntry& value, RegFileForm form) {
    switch (value.type) {
    case reg::type_sz:
        // An empty default text written as "" would read back as its removal.
        if (const auto text = plain_text(value.data);
            text && !(value.name.empty() && text->empty()))
            return quoted(*text);
        break;
    case reg::type_binary:
        return "hex:" + hex_pairs(value.data, ',');
    case reg::type_dword:
        if (value.data.size() == 4) {
            char digits[16];
            std::snprintf(digits, sizeof digits, "dword:%08X",
                          static_cast<unsigned>(read_u32_le(value.data.data())));
            return std::string(digits);
        }
        break;
    default:
        break;
    }
    const Result<std::string> bytes = file_bytes(value, form);
    if (!bytes.ok()) return bytes.status();
    return typed_hex(value.type, *bytes);
}

}  // namespace

std::string file_header(RegFileForm form) {
    if (form == RegFileForm::regedit4) return "REGEDIT4\r\n\r\n";
    return "\xFF\xFE" + file_text(std::string(unicode_file_header) + "\r\n\r\n", form).value();
}

Result<std::string> file_text(std::string_view utf8, RegFileForm form) {
    if (form == RegFileForm::unicode) return utf16le_bytes(utf16_from_utf8(utf8));
    return ansi_from_utf8(utf8);
}

std::string quoted(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 2);
    result += '"';
    for (const char c : text) {
        if (c == '\\' || c == '"') result += '\\';
        result += c;
    }
    result += '"';
    return result;
}

bool fits_on_a_line(std::string_view name) {
    return name.find_first_of("\r\n") == std::string_view::npos;
}

LineGroup line_group(const RegValueEntry& value) {
    if (value.name.empty()) return LineGroup::default_value;
    switch (value.type) {
    case reg::type_sz:
        return LineGroup::text;
    case reg::type_binary:
        return LineGroup::binary;
    case reg::type_dword:
        return LineGroup::number;
    default:
        return LineGroup::other;
    }
}

Result<std::string> value_line(const RegValueEntry& value, RegFileForm form) {
    const Result<std::string> data = value_data(value, form);
    if (!data.ok()) return data.status();
    return file_text((value.name.empty() ? std::string("@") : quoted(value.name)) + "=" + *data,
                     form);
}

}  // namespace tarnwell
