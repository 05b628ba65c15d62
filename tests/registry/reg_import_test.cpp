#include <gtest/gtest.h>

#include "registry/reg_file_fixture.h"

namespace tarnwell::test {
namespace {

struct ImportCase {
    const char* what;
    std::vector<std::string> body;         // the lines after "REGEDIT4"
    std::vector<std::string> description;  // describe() of the scratch key afterwards
};

class Import : public RegFileTest {
protected:
    std::string file = scratch_file("import.reg");

    // Writes the lines (CR LF after each; "%K" stands for the scratch key's long path)
    // to a new file and imports them.
    std::int32_t import(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += replaced(line, "%K", long_path) + "\r\n";
        file = scratch_file("import.reg");
        must(write_file(platform.files, file, text));
        return registry.ImportFromReg(file);
    }
    // Imports the case's lines behind a header ("%S" stands for the scratch key's path
    // below HKCU\Software) on an empty scratch key and compares what it made.
    void expect_imported(const ImportCase& c) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines{"REGEDIT4"};
        for (const std::string& line : c.body)
            lines.push_back(replaced(line, "%S", scratch.sub_key().substr(9)));
        EXPECT_EQ(import(lines), 1);
        EXPECT_EQ(describe(tree()), c.description);
        clear();
    }
};

// Each form the importer reads, on an empty scratch key.
const ImportCase forms[] = {
    {"text, binary and number values",
     {"[%K\\k]", "\"t\"=\"C:\\\\Bin\"", "\"b\"=hex:01,0a,FF", "\"d\"=dword:000000ff",
      "\"m\"=dword:FFFFFFFF"},
     {"", "k", "k|b|bin:01 0A FF", "k|d|dword:255", "k|m|dword:-1", "k|t|sz:C:\\Bin"}},
    {"escapes in names and texts",
     {"[%K]", "\"C:\\\\Models\"=\"\\\\\\\\server\\\\share\\\\\"",
      "\"say \\\"hi\\\"\"=\"\\\"x\\\"\""},
     {"", "|C:\\Models|sz:\\\\server\\share\\", "|say \"hi\"|sz:\"x\""}},
    {"hex and dword in any letter case",
     {"[%K]", "\"b\"=HEX:0a", "\"d\"=DWord:1f"},
     {"", "|b|bin:0A", "|d|dword:31"}},
    {"typed hex keeps its type and bytes",
     {"[%K]", "\"t\"=hex(2):41,00", "\"q\"=hex(b):01,00,00,00,00,00,00,00",
      "\"n\"=hex(0):", "\"w\"=hex(4):01,02"},
     {"", "|n|type0:", "|q|type11:01 00 00 00 00 00 00 00", "|t|type2:41 00", "|w|type4:01 02"}},
    {"a continued hex line goes on on the next",
     {"[%K]", "\"b\"=hex:01,02,\\", "  03,04"},
     {"", "|b|bin:01 02 03 04"}},
    {"@ is the default value in every form, a quoted \"@\" a value named @",
     {"[%K\\a]", "@=hex:01", "[%K\\b]", "@=dword:2", "[%K\\c]", "\"@\"=\"x\"", "@=\"def\""},
     {"", "a", "a||bin:01", "b", "b||dword:2", "c", "c||sz:def", "c|@|sz:x"}},
    {"abbreviated root, long root with a leading backslash, and the root as the first four "
     "characters",
     {"[HKCU\\Software\\%S\\a]", "\"v\"=\"1\"", "[\\%K\\b]", "\"v\"=\"2\"",
      "[HKCUX\\Software\\%S\\c]", "\"v\"=\"3\""},
     {"", "a", "a|v|sz:1", "b", "b|v|sz:2", "c", "c|v|sz:3"}},
    {"comments, empty lines and values outside a key are passed over",
     {"\"out\"=\"side\"", "[%K] ; the key", ";\"c\"=\"x\"", "", "   ", "no equals sign",
      "\"v\"=\"1\"", "\"b\"=hex:01 ; one byte"},
     {"", "|b|bin:01", "|v|sz:1"}},
    {"a key line without values creates its key",
     {"[%K\\empty]", "[%K\\full]", "\"v\"=\"1\""},
     {"", "empty", "full", "full|v|sz:1"}},
    {"blanks around = are passed over", {"[%K]", "  \"s\" = \"x\"  "}, {"", "|s|sz:x"}},
    {"texts keep =, double quotes and edge spaces",
     {"[%K]", "\"a\"=\"x=y\"", "\"q\"=\"say \"hi\"\"", "\" n \"=\" v \"", "\"e\"=\"\""},
     {"", "| n |sz: v ", "|a|sz:x=y", "|e|sz:", "|q|sz:say \"hi\""}},
    {"quoted texts that look like other data stay texts",
     {"[%K]", "\"m\"=\"-\"", "\"h\"=\"hex:01\"", "\"d\"=\"dword:1\""},
     {"", "|d|sz:dword:1", "|h|sz:hex:01", "|m|sz:-"}},
    {"unquoted data loses its double quotes and is cut at the next =",
     {"[%K]", "n=x\"y=z", "@=plain"},
     {"", "||sz:plain", "|n|sz:xy"}},
    {"a long text is written whole",
     {"[%K]", "\"t\"=\"" + std::string(400, 'z') + "\""},
     {"", "|t|sz:" + std::string(400, 'z')}},
    {"a bare LF and a lone CR end a line too, as for regedit",
     {"[%K]", "\"a\"=\"1\"\n\"b\"=\"2\"\n\"c\"=\"3\"", "\"d\"=\"4\"\r\"e\"=\"5\""},
     {"", "|a|sz:1", "|b|sz:2", "|c|sz:3", "|d|sz:4", "|e|sz:5"}},
};

// A file as earlier versions wrote it: names and texts raw between double quotes, a
// default binary as "", a number named @ in double quotes.
const ImportCase earlier_files[] = {
    {"raw backslashes, a trailing backslash, UNC paths and quotes",
     {"[%K]", "\"Path\"=\"C:\\Bin\\Tarnwell\"", "\"Data\"=\"C:\\Data\\\"",
      "\"Share\"=\"\\\\server\\models\\\"", "\"C:\\temp\"=\"x\"",
      "\"cmd\"=\"\"C:\\x.exe\" \"%1\"\"", "\"\"=hex:01", "\"@\"=dword:00000002"},
     {"", "||bin:01", "|@|dword:2", "|C:\\temp|sz:x", "|Data|sz:C:\\Data\\",
      "|Path|sz:C:\\Bin\\Tarnwell", "|Share|sz:\\\\server\\models\\",
      "|cmd|sz:\"C:\\x.exe\" \"%1\""}},
};

TEST_F(Import, EachFormIsReadAsDocumented) {
    for (const ImportCase& c : forms)
        expect_imported(c);
}

TEST_F(Import, FilesOfEarlierVersionsImportAsBefore) {
    for (const ImportCase& c : earlier_files)
        expect_imported(c);
}

TEST_F(Import, HeaderMustBeExactlyRegedit4InAnyLetterCase) {
    const struct {
        std::string text;
        std::int32_t result;
    } cases[] = {
        {"regedit4\r\n[%K]\r\n\"v\"=\"1\"\r\n", 1},
        {"REGEDIT4", 1},
        {"REGEDIT4 \r\n[%K]\r\n\"v\"=\"1\"\r\n", 0},
        {" REGEDIT4\r\n[%K]\r\n\"v\"=\"1\"\r\n", 0},
        {"\xEF\xBB\xBFREGEDIT4\r\n[%K]\r\n\"v\"=\"1\"\r\n", 0},
        {"Windows Registry Editor Version 5.00\r\n[%K]\r\n\"v\"=\"1\"\r\n", 0},
        {"REGEDIT4\n[%K]\n\"v\"=\"1\"\n", 1},
        {"REGEDIT4\r[%K]\r\"v\"=\"1\"\r", 1},
        {"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        file = scratch_file("header.reg");
        must(write_file(platform.files, file, replaced(c.text, "%K", long_path + "\\h")));
        EXPECT_EQ(registry.ImportFromReg(file), c.result);
        EXPECT_EQ(registry.KeyExists(scratch.path() + "\\h"), c.result == 1 && c.text.size() > 8);
        test::delete_tree(platform.registry, reg::current_user, scratch.sub_key() + "\\h");
    }
}

TEST_F(Import, MissingFileGivesZeroAndLeavesCreateKeySettingTrue) {
    registry.set_CreateKeyIfDoesntExists(false);
    EXPECT_EQ(registry.ImportFromReg(file + ".missing"), 0);
    EXPECT_TRUE(registry.CreateKeyIfDoesntExists());
    registry.set_CreateKeyIfDoesntExists(false);
    EXPECT_EQ(import({"REGEDIT4", "[%K\\k]", "\"v\"=\"1\""}), 1);
    EXPECT_TRUE(registry.CreateKeyIfDoesntExists());
    EXPECT_TRUE(registry.KeyExists(scratch.path() + "\\k"));
}

TEST_F(Import, DeletionsRemoveValuesAndLeafKeys) {
    put_text("", "", "default");
    put_text("", "gone", "1");
    put_text("", "kept", "2");
    put_text("leaf", "v", "1");
    put_text("parent\\child", "v", "1");
    EXPECT_EQ(import({"REGEDIT4", "[%K]", "\"gone\"=-", "@=\"\"", "[-%K\\leaf]", "[-%K\\parent]"}),
              1);
    EXPECT_EQ(describe(tree()),
              (std::vector<std::string>{"", "|kept|sz:2", "parent", "parent\\child",
                                        "parent\\child|v|sz:1"}));
}

// A line that cannot be read is left out, the lines after it are applied, and the
// result says the file did not go through whole.
TEST_F(Import, AnUnreadableLineGivesZeroAndTheLinesAfterItAreApplied) {
    for (const char* bad :
         {"[", "[%K\\x", "\"d\"=dword:100000000", "\"d\"=dword:zz", "\"b\"=hex:1,234"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(import({"REGEDIT4", "[%K]", "\"before\"=\"1\"", bad, "[%K]", "\"after\"=\"2\""}),
                  0);
        EXPECT_EQ(describe(tree()), (std::vector<std::string>{"", "|after|sz:2", "|before|sz:1"}));
        clear();
    }
}

TEST_F(Import, KeyThatRefusesWritingIsPassedOver) {
#if defined(_WIN32)
    GTEST_SKIP() << "a key that refuses writing is made only on the twin";
#else
    put_text("locked", "v", "old");
    twin_of(test_platform)
        ->registry.set_read_only(reg::current_user, scratch.sub_key() + "\\locked", true);
    EXPECT_EQ(import({"REGEDIT4", "[%K\\locked]", "\"v\"=\"new\"", "\"w\"=dword:1", "\"v\"=-",
                      "[%K\\open]", "\"v\"=\"1\""}),
              1);
    EXPECT_EQ(describe(tree()),
              (std::vector<std::string>{"", "locked", "locked|v|sz:old", "open", "open|v|sz:1"}));
#endif
}

}  // namespace
}  // namespace tarnwell::test
