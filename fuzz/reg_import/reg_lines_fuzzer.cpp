// libFuzzer target: the line forms alone, fast. The input is read as a value (a type,
// a name without line breaks, the data); its REGEDIT4 line, written as the export writes
// it in the ANSI code page, must read back through the import's conversion as the same
// name and the same type and bytes, or not be written at all when the code page cannot
// hold it. The input is also read
// as a line of a file, which may say anything but must not crash.
#include <cstdint>
#include <string>

#include "common/little_endian.h"
#include "platform/code_page.h"
#include "registry/reg_file_format.h"
#include "registry/reg_file_parse.h"
#include "fuzz_require.h"

namespace {

using namespace tarnwell;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    (void)read_key_line(input);
    if (const auto value = read_value_line(input)) {
        (void)hex_continues(value->data);
        (void)carries_bytes_on(value->data);
        read_value_data(continued_bytes(value->data));
        read_value_data(value->data);
    }

    // type (4 bytes), name length (1 byte), name, data.
    if (size < 5) return 0;
    RegValueEntry entry;
    entry.type = read_u32_le(input.data());
    const std::size_t name_length =
        std::min<std::size_t>(static_cast<unsigned char>(input[4]), size - 5);
    entry.name = input.substr(5, name_length);
    entry.data = input.substr(5 + name_length);
    if (!fits_on_a_line(entry.name)) return 0;
    const Result<std::string> written = value_line(entry, RegFileForm::regedit4);
    if (!written.ok()) return 0;
    // The import reads a REGEDIT4 file's lines, and a text's hex bytes, in UTF-8.
    const std::string line = utf8_from_ansi(*written);
    require(fits_on_a_line(line), "a value line holds a line break");
    const auto read = read_value_line(line);
    require(read.has_value(), "a value line without its =");
    require(read->name == entry.name, "the name read back differs");
    require(read->unquoted_at == entry.name.empty(), "the default value's marker differs");
    const ValueData back = read_value_data(read->data);
    switch (back.form) {
    case ValueData::Form::text:
        require(entry.type == reg::type_sz && back.data + '\0' == entry.data, "the text differs");
        break;
    case ValueData::Form::bytes:
    case ValueData::Form::number: {
        const bool text = back.form == ValueData::Form::bytes && reg::is_text_type(back.type);
        require(back.type == entry.type &&
                    (text ? utf8_from_ansi(back.data) : back.data) == entry.data,
                "the bytes differ");
        break;
    }
    default:
        require(false, "a written line does not read as a value");
    }
    return 0;
}
