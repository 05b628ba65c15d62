// The REGEDIT4 line forms on their own: each value written as the platform's regedit
// writes it, and each line read as regedit reads it, with the raw forms of earlier
// versions still read as they were.
#include <gtest/gtest.h>

#include "common/utf8.h"
#include "registry/reg_file_format.h"
#include "registry/reg_file_parse.h"

namespace tarnwell {
namespace {

using namespace std::string_literals;

TEST(RegFileLines, EachValueIsWrittenInTheFormItsTypeNeeds) {
    const struct {
        RegValueEntry value;
        std::string line;  // in UTF-8; "-" for none: the ANSI code page cannot hold it
        RegFileForm form = RegFileForm::regedit4;
    } cases[] = {
        {{"Path", reg::type_sz, "C:\\Bin\\Tarnwell\0"s}, "\"Path\"=\"C:\\\\Bin\\\\Tarnwell\""},
        {{"a\\b\"c", reg::type_sz, "say \"hi\"\\\0"s}, "\"a\\\\b\\\"c\"=\"say \\\"hi\\\"\\\\\""},
        {{"", reg::type_sz, "x\0"s}, "@=\"x\""},
        {{"@", reg::type_sz, "x\0"s}, "\"@\"=\"x\""},
        {{"e", reg::type_sz, "\0"s}, "\"e\"=\"\""},
        // What "..." cannot carry exactly goes as the stored bytes.
        {{"", reg::type_sz, "\0"s}, "@=hex(1):00"},
        {{"lines", reg::type_sz, "a\r\nb\0"s}, "\"lines\"=hex(1):61,0D,0A,62,00"},
        {{"bare", reg::type_sz, "ab"s}, "\"bare\"=hex(1):61,62"},
        {{"nul", reg::type_sz, "a\0b\0"s}, "\"nul\"=hex(1):61,00,62,00"},
        {{"none", reg::type_sz, ""s}, "\"none\"=hex(1):"},
        {{"B", reg::type_binary, "\x01\xFF"s}, "\"B\"=hex:01,FF"},
        {{"", reg::type_binary, "\x0a"s}, "@=hex:0A"},
        {{"empty", reg::type_binary, ""s}, "\"empty\"=hex:"},
        {{"N", reg::type_dword, "\x0A\0\0\0"s}, "\"N\"=dword:0000000A"},
        {{"", reg::type_dword, "\xFF\xFF\xFF\xFF"s}, "@=dword:FFFFFFFF"},
        {{"two", reg::type_dword, "\x01\x02"s}, "\"two\"=hex(4):01,02"},
        {{"eight", reg::type_dword, "\x01\0\0\0\0\0\0\x80"s},
         "\"eight\"=hex(4):01,00,00,00,00,00,00,80"},
        {{"", reg::type_expand_sz, "%x%\0"s}, "@=hex(2):25,78,25,00"},
        {{"m", reg::type_multi_sz, "a\0b\0\0"s}, "\"m\"=hex(7):61,00,62,00,00"},
        {{"q", 11, "\x01\0\0\0\0\0\0\0"s}, "\"q\"=hex(b):01,00,00,00,00,00,00,00"},
        {{"n", reg::type_none, ""s}, "\"n\"=hex(0):"},
        {{"t", 0x12345678, "\xab"s}, "\"t\"=hex(12345678):AB"},
        // Texts of REGEDIT4 files are in the ANSI code page, of version 5 files in UTF-16.
        {{"", reg::type_multi_sz, "\xC3\xA9\0\0"s}, "@=hex(7):E9,00,00"},
        {{"\xC5\x99", reg::type_sz, "x\0"s}, "-"},
        {{"e", reg::type_expand_sz, "\xC5\x99\0"s}, "-"},
        {{"e", reg::type_expand_sz, "%\xC5\x99%\0"s}, "\"e\"=hex(2):25,00,59,01,25,00,00,00",
         RegFileForm::unicode},
        {{"Dvo\xC5\x99\xC3\xA1k", reg::type_sz, "\xC5\x82\0"s},
         "\"Dvo\xC5\x99\xC3\xA1k\"=\"\xC5\x82\"", RegFileForm::unicode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const Result<std::string> line = value_line(c.value, c.form);
        const std::string shown = !line.ok() ? "-"
                                  : c.form == RegFileForm::regedit4
                                      ? *line
                                      : utf8_from_utf16(utf16_of_le_bytes(*line));
        EXPECT_EQ(shown, c.line);
    }
}

// One value line read whole: its name, then what its data asks for.
struct ReadCase {
    const char* what;
    std::string line;
    std::string name;
    ValueData::Form form;
    std::uint32_t type;
    std::string data;
};

std::string read_back(const std::string& line, ValueData& data, bool& unquoted_at) {
    const auto value = read_value_line(line);
    if (!value) return "(no value line)";
    data = read_value_data(value->data);
    unquoted_at = value->unquoted_at;
    return value->name;
}

TEST(RegFileLines, ValueLinesReadAsRegeditReadsThem) {
    using Form = ValueData::Form;
    const ReadCase cases[] = {
        {"escapes", R"("C:\\Models"="C:\\Bin\\")", "C:\\Models", Form::text, 0, "C:\\Bin\\"},
        {"escaped quotes", R"("say \"hi\""="\"x\"")", "say \"hi\"", Form::text, 0, "\"x\""},
        {"blanks around =", "\"s\" =\t\"x\" ", "s", Form::text, 0, "x"},
        {"@ is the default", "@=\"d\"", "", Form::text, 0, "d"},
        {"@ with bytes", "@=hex(2):41,00", "", Form::bytes, 2, "A\0"s},
        {"a quoted @ is a name", "\"@\"=dword:1", "@", Form::number, 4, "\x01\0\0\0"s},
        {"removal", "\"gone\"=-", "gone", Form::removal, 0, ""},
        {"one-digit bytes", "\"b\"=hex:1,2,3", "b", Form::bytes, 3, "\x01\x02\x03"s},
        {"bytes in any case with blanks", "\"b\"=HEX: 0a , Ff ,", "b", Form::bytes, 3, "\x0a\xff"s},
        {"bytes and a comment", "\"b\"=hex:01,02 ; two", "b", Form::bytes, 3, "\x01\x02"s},
        {"typed bytes", "\"q\"=hex(b):01,00", "q", Form::bytes, 11, "\x01\0"s},
        {"no bytes", "\"n\"=hex(0):", "n", Form::bytes, 0, ""},
        {"number", "\"d\"=DWord:000000ff", "d", Form::number, 4, "\xff\0\0\0"s},
        {"number with a comment", "\"d\"=dword:ffffffff ;all", "d", Form::number, 4,
         "\xff\xff\xff\xff"s},
        {"leading zeros", "\"d\"=dword:000000001", "d", Form::number, 4, "\x01\0\0\0"s},
        {"comment after an escaped text", R"("p"="C:\\Models" ; note)", "p", Form::text, 0,
         "C:\\Models"},
        // Only \\ and \" are escapes; a backslash before any other letter stays.
        {"no other escapes", R"("t"="a\nb")", "t", Form::text, 0, "a\\nb"},
        // Raw, as earlier versions wrote names and texts.
        {"raw backslashes", R"("C:\Bin"="C:\Bin\Tarnwell")", "C:\\Bin", Form::text, 0,
         "C:\\Bin\\Tarnwell"},
        {"raw trailing backslash", R"("t"="C:\Data\")", "t", Form::text, 0, "C:\\Data\\"},
        {"raw UNC path", R"("u"="\\server\share\x")", "u", Form::text, 0, "\\\\server\\share\\x"},
        {"raw quotes inside", R"("q"="say "hi"")", "q", Form::text, 0, "say \"hi\""},
        {"raw name ending in a backslash", R"("a\"="x")", "a\\", Form::text, 0, "x"},
        {"raw =", R"("a"="x=y")", "a", Form::text, 0, "x=y"},
        // An old text ends in a double quote: what looks like a comment is its own.
        {"raw text with a quote and ;", R"("q"="x" ;y")", "q", Form::text, 0, "x\" ;y"},
        // Not a form of the file at all, read as earlier versions did.
        {"unquoted data", "n=x\"y=z", "n", Form::text, 0, "xy"},
        {"a single quote", "\"t\"=\"abc", "t", Form::text, 0, "abc"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        ValueData data;
        bool unquoted_at = false;
        EXPECT_EQ(read_back(c.line, data, unquoted_at), c.name);
        EXPECT_EQ(data.form, c.form) << data.why;
        if (c.form == Form::bytes || c.form == Form::number) {
            EXPECT_EQ(data.type, c.type);
        }
        EXPECT_EQ(data.data, c.data);
    }
}

TEST(RegFileLines, DataThatCannotBeReadExactlyIsUnreadable) {
    for (const char* line :
         {"\"d\"=dword:zz", "\"d\"=dword:", "\"d\"=dword:12 34", "\"d\"=dword:100000000",
          "\"b\"=hex:123", "\"b\"=hex:01,,02", "\"b\"=hex:0g", "\"b\"=hex(x):01",
          "\"b\"=hex(123456789):01", "\"t\"=\"a\" b"}) {
        SCOPED_TRACE(line);
        ValueData data;
        bool unquoted_at = false;
        read_back(line, data, unquoted_at);
        EXPECT_EQ(data.form, ValueData::Form::unreadable);
        EXPECT_FALSE(data.why.empty());
    }
}

TEST(RegFileLines, OnlyAnUnquotedAtIsTheDefaultsMarker) {
    ValueData data;
    bool unquoted_at = false;
    EXPECT_EQ(read_back("@ = \"\"", data, unquoted_at), "");
    EXPECT_TRUE(unquoted_at);
    EXPECT_EQ(read_back("\"\"=\"\"", data, unquoted_at), "");
    EXPECT_FALSE(unquoted_at);
    EXPECT_EQ(read_back("no equals sign", data, unquoted_at), "(no value line)");
}

TEST(RegFileLines, KeyLinesEndAtTheLastBracketBeforeAComment) {
    const struct {
        std::string line;
        std::optional<std::string> path;
        bool removal;
    } cases[] = {
        {"[HKCU\\a]", "HKCU\\a", false},
        {"[HKCU\\a] ; comment", "HKCU\\a", false},
        {"[HKCU\\a]\t", "HKCU\\a", false},
        {"[HKCU\\a]b]", "HKCU\\a]b", false},
        {"[HKCU\\a;b] ;c]d", "HKCU\\a;b", false},
        {"[-HKCU\\a]", "HKCU\\a", true},
        {"[\"q\"]", "\"q\"", false},
        {"[]", "", false},
        {"[HKCU\\a", std::nullopt, false},
        {"[", std::nullopt, false},
        {"[HKCU\\a]x", std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const Result<KeyLine> key = read_key_line(c.line);
        ASSERT_EQ(key.ok(), c.path.has_value());
        if (!key.ok()) continue;
        EXPECT_EQ(key->path, *c.path);
        EXPECT_EQ(key->removal, c.removal);
    }
}

TEST(RegFileLines, HexGoesOnAfterATrailingBackslash) {
    EXPECT_TRUE(hex_continues("hex:01,02,\\"));
    EXPECT_TRUE(hex_continues(" HEX(2):41,\\  ; more"));
    for (const char* data : {"hex:01,02", "\"C:\\\"", "dword:1\\", "hexagon\\"})
        EXPECT_FALSE(hex_continues(data)) << data;
    EXPECT_EQ(continued_bytes("  02,03,\\ ;c"), "02,03,");
    EXPECT_EQ(continued_bytes("\t04"), "04");
    EXPECT_TRUE(carries_bytes_on("  0a,"));
    for (const char* line : {"", "  ", "[HKCU\\x]", "\"v\"=\"1\"", "@=\"1\"", "; c"})
        EXPECT_FALSE(carries_bytes_on(line)) << line;
}

// What the export writes, the import reads back as the same value.
TEST(RegFileLines, EveryWrittenLineReadsBackAsItsValue) {
    const RegValueEntry values[] = {
        {"C:\\x\\", reg::type_sz, "\\\\unc\\share\\\0"s},
        {"q\"=", reg::type_sz, "\"=\"\0"s},
        {"", reg::type_sz, "\0"s},
        {"b", reg::type_binary, "\0\x7f\x80"s},
        {"d", reg::type_dword, "\1\2\3\4"s},
        {"w", reg::type_dword, "\1\2"s},
        {"@", reg::type_expand_sz, "%p%\0"s},
        {"z", reg::type_none, ""s},
    };
    for (const RegValueEntry& value : values) {
        const std::string line = value_line(value, RegFileForm::regedit4).value();
        SCOPED_TRACE(line);
        const auto read = read_value_line(line);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->name, value.name);
        const ValueData data = read_value_data(read->data);
        if (data.form == ValueData::Form::text) {
            EXPECT_EQ(value.type, reg::type_sz);
            EXPECT_EQ(data.data + '\0', value.data);
        } else {
            EXPECT_EQ(data.type, value.type);
            EXPECT_EQ(data.data, value.data);
        }
    }
}

}  // namespace
}  // namespace tarnwell
