// Version 5 files, the platform's default export, read converted to the ANSI code page:
// texts, keys and UTF-16 string bytes arrive as ANSI, and a character the code page
// cannot hold is named and never written as a substitute.
#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "registry/reg_file_fixture.h"
#include "registry/reg_file_import.h"

namespace tarnwell::test {
namespace {

// The text as a version 5 file holds it: a byte-order mark, then UTF-16LE.
std::string utf16_file(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::u16string utf16(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

class UnicodeFile : public RegFileTest {
protected:
    std::string file_text(const std::u16string& body) {
        return utf16_file(u"Windows Registry Editor Version 5.00\r\n\r\n[" + utf16(long_path) +
                          u"]\r\n" + body);
    }
};

TEST_F(UnicodeFile, TextsAndStringBytesArriveInTheAnsiCodePage) {
    const std::optional<std::string> cafe = ansi_from_utf16(u"caf\u00e9");
    ASSERT_TRUE(cafe);
    const std::string text = file_text(
        u"\"t\"=\"caf\u00e9\"\r\n"
        u"@=hex(2):25,00,50,00,25,00,00,00\r\n"
        u"\"m\"=hex(7):61,00,00,00,\\\r\n  62,00,00,00,00,00\r\n"
        u"\"b\"=hex:e9,00\r\n"
        u"\"d\"=dword:00000010\r\n");
    const RegFileResult result = import_reg_text(platform.registry, text, UnicodeFiles::converted);
    ASSERT_TRUE(result.whole()) << result.failure();
    EXPECT_EQ(result.issue_count(), 0u);
    EXPECT_EQ(describe(tree()),
              (std::vector<std::string>{"", "||type2:25 50 25 00", "|b|bin:E9 00", "|d|dword:16",
                                        "|m|type7:61 00 62 00 00", "|t|sz:" + *cafe}));
}

TEST_F(UnicodeFile, ACharacterTheCodePageCannotHoldIsNamedNotSubstituted) {
    if (ansi_from_utf16(u"\u0416\u4e2d")) GTEST_SKIP() << "this ANSI code page holds them";
    const std::string text = file_text(
        u"\"ok\"=\"1\"\r\n"
        u"\"\u0416\"=\"2\"\r\n"
        u"\"bytes\"=hex(2):16,04,00,00\r\n"
        u"[" +
        utf16(long_path) +
        u"\\\u4e2d]\r\n"
        u"\"lost\"=\"3\"\r\n"
        u"[" +
        utf16(long_path) +
        u"\\after]\r\n"
        u"\"kept\"=\"4\"\r\n");
    const RegFileResult result = import_reg_text(platform.registry, text, UnicodeFiles::converted);
    ASSERT_TRUE(result.whole());
    EXPECT_EQ(result.unreadable_lines(), 3u);
    std::vector<std::size_t> lines;
    for (const RegFileIssue& issue : result.issues())
        lines.push_back(issue.line);
    EXPECT_EQ(lines, (std::vector<std::size_t>{5, 6, 7}));
    EXPECT_EQ(describe(tree()),
              (std::vector<std::string>{"", "|ok|sz:1", "after", "after|kept|sz:4"}));
}

TEST_F(UnicodeFile, TheClassesReaderAndBrokenFilesAreRefused) {
    const std::string text = file_text(u"\"v\"=\"1\"\r\n");
    EXPECT_FALSE(import_reg_text(platform.registry, text, UnicodeFiles::refused).whole());
    const std::string file = scratch_file("unicode.reg");
    must(write_file(platform.files, file, text));
    EXPECT_EQ(registry.ImportFromReg(file), 0);
    EXPECT_EQ(describe(tree()), std::vector<std::string>{""});
    for (const std::string& broken :
         {text + "x", utf16_file(u"REGEDIT4\r\n[" + utf16(long_path) + u"]\r\n")}) {
        const RegFileResult result =
            import_reg_text(platform.registry, broken, UnicodeFiles::converted);
        EXPECT_FALSE(result.whole());
        EXPECT_FALSE(result.failure().empty());
    }
}

}  // namespace
}  // namespace tarnwell::test
