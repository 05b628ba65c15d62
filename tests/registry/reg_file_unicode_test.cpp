// Names and texts outside the ANSI code page: version 5 files read straight into the
// registry, the export of both forms, and the conversions behind them, which never put
// a look-alike or a "?" in place of a character.
#include <gtest/gtest.h>

#include "common/utf8.h"
#include "platform/code_page.h"
#include "registry/reg_file_fixture.h"
#include "registry/reg_file_export.h"
#include "registry/reg_file_import.h"

namespace tarnwell::test {
namespace {

// The text as a version 5 file holds it: a byte-order mark, then UTF-16LE.
std::string utf16_file(const std::string& utf8) {
    return "\xFF\xFE" + utf16le_bytes(utf16_from_utf8(utf8));
}

// Each text, its form in code page 1252 (the twin's and Wine's default), or "-" when the
// code page cannot hold it: best-fit would give "r", '"', '/' or "?".
struct AnsiCase {
    const char* utf8;
    const char* ansi;
};
const AnsiCase ansi_cases[] = {
    {"caf\xC3\xA9", "caf\xE9"},
    {"\xE2\x82\xAC \xE2\x80\x98\xE2\x80\x99 \xE2\x80\x9C\xE2\x80\x9D \xC5\x92\xC5\xA0\xC5\xBD",
     "\x80 \x91\x92 \x93\x94 \x8C\x8A\x8E"},
    {"\xC2\xA5", "\xA5"},
    {"Dvo\xC5\x99\xC3\xA1k", "-"},
    {"\xEF\xBC\x82", "-"},
    {"\xE2\x88\x95", "-"},
    {"\xE6\x95\xB0\xE6\x8D\xAE", "-"},
    {"\xF0\x9F\x98\x80", "-"},
};

TEST(AnsiCodePage, EveryCharacterConvertsExactlyOrNotAtAll) {
    if (ansi_from_utf8("\xE2\x82\xAC").value_or("") != "\x80")
        GTEST_SKIP() << "the ANSI code page is not 1252";
    for (const AnsiCase& row : ansi_cases) {
        const Result<std::string> ansi = ansi_from_utf8(row.utf8);
        if (std::string(row.ansi) == "-") {
            EXPECT_FALSE(ansi.ok()) << row.utf8 << " became " << ansi.value_or("");
            continue;
        }
        EXPECT_EQ(ansi.value_or("-"), row.ansi) << row.utf8;
        EXPECT_EQ(utf8_from_ansi(row.ansi), row.utf8);
    }
}

TEST(Utf8, SurrogatePairsJoinAndBrokenSequencesBecomeTheReplacementCharacter) {
    const std::u16string emoji = {0xD83D, 0xDE00};
    EXPECT_EQ(utf8_from_utf16(emoji), "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16_from_utf8("\xF0\x9F\x98\x80"), emoji);
    EXPECT_EQ(utf8_from_utf16(std::u16string{0xD83D, u'a'}), "\xEF\xBF\xBD" "a");
    for (const char* broken : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\x80"})
        EXPECT_EQ(utf16_from_utf8(broken)[0], u'\xFFFD') << broken;
    EXPECT_EQ(utf16_from_utf8("\xE2\x82" "a"), (std::u16string{u'\xFFFD', u'\xFFFD', u'a'}));
}

class UnicodeFile : public RegFileTest {
protected:
    std::string file_text(const std::string& body) {
        return utf16_file("Windows Registry Editor Version 5.00\r\n\r\n[" + long_path + "]\r\n" +
                          body);
    }
};

// Dvořák beside its look-alike Dvorák, Chinese, an emoji: every name and text exactly.
const std::string look_alikes =
    "\"Dvo\xC5\x99\xC3\xA1k\"=\"secret\"\r\n"
    "\"Dvor\xC3\xA1k\"=\"other\"\r\n"
    "\"t\"=\"caf\xC3\xA9 \xF0\x9F\x98\x80\"\r\n"
    "@=hex(2):25,00,50,00,25,00,00,00\r\n"
    "\"m\"=hex(7):61,00,00,00,\\\r\n  0e,01,00,00,00,00\r\n"
    "\"b\"=hex:e9,00\r\n"
    "\"d\"=dword:00000010\r\n"
    "[<key>\\\xE6\x95\xB0\xE6\x8D\xAE]\r\n"
    "\"x\"=\"\xD0\x96\"\r\n";

std::string with_key(std::string text, const std::string& key) {
    return text.replace(text.find("<key>"), 5, key);
}

const std::vector<std::string> look_alike_tree = {
    "",
    "||type2:25 50 25 00",
    "|Dvor\xC3\xA1k|sz:other",
    "|Dvo\xC5\x99\xC3\xA1k|sz:secret",
    "|b|bin:E9 00",
    "|d|dword:16",
    "|m|type7:61 00 C4 8E 00 00",
    "|t|sz:caf\xC3\xA9 \xF0\x9F\x98\x80",
    "\xE6\x95\xB0\xE6\x8D\xAE",
    "\xE6\x95\xB0\xE6\x8D\xAE|x|sz:\xD0\x96",
};

TEST_F(UnicodeFile, EveryNameAndTextArrivesExactlyAndGoesBackOutWhole) {
    const RegFileResult result = import_reg_text(
        platform.registry, file_text(with_key(look_alikes, long_path)), UnicodeFiles::read);
    ASSERT_TRUE(result.whole()) << result.failure().description();
    EXPECT_EQ(result.issue_count(), 0u);
    EXPECT_EQ(describe(tree()), look_alike_tree);

    // A version 5 export keeps it all; a REGEDIT4 export names what it cannot hold and
    // writes no look-alike in its place.
    const std::string unicode = scratch_file("unicode.reg");
    const RegFileResult exported = export_reg_file(platform.registry, platform.files, long_path,
                                                   unicode, true, RegFileForm::unicode, nullptr);
    ASSERT_TRUE(exported.whole()) << exported.failure().description();
    EXPECT_EQ(exported.issue_count(), 0u);
    const std::string ansi = scratch_file("ansi.reg");
    const RegFileResult narrowed = export_reg_file(platform.registry, platform.files, long_path,
                                                   ansi, true, RegFileForm::regedit4, nullptr);
    ASSERT_TRUE(narrowed.whole()) << narrowed.failure().description();
    std::vector<std::string> named;
    for (const RegFileIssue& issue : narrowed.issues())
        named.push_back(issue.value.empty() ? issue.key : issue.value);
    EXPECT_EQ(named, (std::vector<std::string>{"Dvo\xC5\x99\xC3\xA1k", "t", "m",
                                               long_path + "\\\xE6\x95\xB0\xE6\x8D\xAE"}));
    const std::string written = must(read_file(platform.files, ansi));
    EXPECT_EQ(written.find("Dvorak"), std::string::npos);
    EXPECT_NE(written.find("\"Dvor\xE1k\"=\"other\""), std::string::npos) << written;

    delete_tree(platform.registry, reg::current_user, scratch.sub_key());
    const RegFileResult again =
        import_reg_file(platform.registry, platform.files, unicode, UnicodeFiles::read);
    ASSERT_TRUE(again.whole()) << again.failure().description();
    EXPECT_EQ(describe(tree()), look_alike_tree);
}

TEST_F(UnicodeFile, TheClassesReaderAndBrokenFilesAreRefused) {
    const std::string text = file_text("\"v\"=\"1\"\r\n");
    EXPECT_FALSE(import_reg_text(platform.registry, text, UnicodeFiles::refused).whole());
    const std::string file = scratch_file("unicode.reg");
    must(write_file(platform.files, file, text));
    EXPECT_EQ(registry.ImportFromReg(file), 0);
    EXPECT_EQ(describe(tree()), std::vector<std::string>{""});
    for (const std::string& broken :
         {text + "x", utf16_file("REGEDIT4\r\n[" + long_path + "]\r\n")}) {
        const RegFileResult result = import_reg_text(platform.registry, broken, UnicodeFiles::read);
        EXPECT_FALSE(result.whole());
        EXPECT_FALSE(result.failure().ok());
    }
}

}  // namespace
}  // namespace tarnwell::test
