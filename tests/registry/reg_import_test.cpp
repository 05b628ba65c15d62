#include <gtest/gtest.h>

#include "registry/reg_file_fixture.h"

namespace tarnwell::test {
namespace {

class Import : public RegFileTest {
protected:
    std::string file = scratch_file("import.reg");

    // Writes the lines (CR LF after each; "%K" stands for the scratch key's long path)
    // to a new file and imports them.
    std::int32_t import(const std::vector<std::string>& lines) {
        std::string text;
        for (std::string line : lines) {
            for (std::size_t at; (at = line.find("%K")) != std::string::npos;)
                line.replace(at, 2, long_path);
            text += line + "\r\n";
        }
        file = scratch_file("import.reg");
        platform.files.create_file(file, text);
        return registry.ImportFromReg(file);
    }
};

struct ImportCase {
    const char* what;
    std::vector<std::string> body;          // the lines after "REGEDIT4"
    std::vector<std::string> description;   // describe() of the scratch key afterwards
};

// Each form the importer reads, on an empty scratch key.
const ImportCase forms[] = {
    {"text, binary and number values",
     {"[%K\\k]", "\"t\"=\"C:\\Bin\"", "\"b\"=hex:01,0a,FF", "\"d\"=dword:000000ff",
      "\"m\"=dword:FFFFFFFF"},
     {"", "k", "k|b|bin:01 0A FF", "k|d|dword:255", "k|m|dword:-1", "k|t|sz:C:\\Bin"}},
    {"hex and dword in any letter case",
     {"[%K]", "\"b\"=HEX:0a", "\"d\"=DWord:1f"}, {"", "|b|bin:0A", "|d|dword:31"}},
    {"dword with no digits is 0", {"[%K]", "\"d\"=dword:xyz"}, {"", "|d|dword:0"}},
    {"the default text and values literally named @",
     {"[%K]", "@=\"def\"", "@=hex:01", "@=dword:2"},
     {"", "||sz:def", "|@|dword:2"}},
    {"abbreviated root and long root with a leading backslash",
     {"[HKCU\\Software\\%S\\a]", "\"v\"=\"1\"", "[\\%K\\b]", "\"v\"=\"2\""},
     {"", "a", "a|v|sz:1", "b", "b|v|sz:2"}},
    {"comments, empty lines and values outside a key are passed over",
     {"\"out\"=\"side\"", "[%K]", ";\"c\"=\"x\"", "", "   ", "no equals sign", "\"v\"=\"1\""},
     {"", "|v|sz:1"}},
    {"a key line without values creates nothing", {"[%K\\empty]", "[%K\\full]", "\"v\"=\"1\""},
     {"", "full", "full|v|sz:1"}},
    {"spaces around = belong to the name and the data",
     {"[%K]", "  \"s\" = \"x\"  "}, {"", "|s |sz: x"}},
    {"texts keep =, double quotes and edge spaces",
     {"[%K]", "\"a\"=\"x=y\"", "\"q\"=\"say \"hi\"\"", "\" n \"=\" v \"", "\"e\"=\"\""},
     {"", "| n |sz: v ", "|a|sz:x=y", "|e|sz:", "|q|sz:say \"hi\""}},
    {"quoted texts that look like other data stay texts",
     {"[%K]", "\"m\"=\"-\"", "\"h\"=\"hex:01\"", "\"d\"=\"dword:1\""},
     {"", "|d|sz:dword:1", "|h|sz:hex:01", "|m|sz:-"}},
    {"unquoted data loses its double quotes and is cut at the next =",
     {"[%K]", "n=x\"y=z", "@=plain"}, {"", "||sz:plain", "|n|sz:xy"}},
    {"typed hex is stored as text", {"[%K]", "\"t\"=hex(2):41,00"}, {"", "|t|sz:hex(2):41,00"}},
    {"a continued hex line keeps only its first line",
     {"[%K]", "\"b\"=hex:01,02,\\", "  03,04"}, {"", "|b|bin:01 02 00"}},
    {"a long text is written whole",
     {"[%K]", "\"t\"=\"" + std::string(400, 'z') + "\""}, {"", "|t|sz:" + std::string(400, 'z')}},
    {"lines end only at CR LF",
     {"[%K]", "\"t\"=\"a\nb\rc\""}, {"", "|t|sz:a\nb\rc"}},
};

TEST_F(Import, EachFormIsReadAsDocumented) {
    for (const ImportCase& c : forms) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> body{"REGEDIT4"};
        for (std::string line : c.body) {
            for (std::size_t at; (at = line.find("%S")) != std::string::npos;)
                line.replace(at, 2, scratch.sub_key().substr(9));
            body.push_back(line);
        }
        EXPECT_EQ(import(body), 1);
        EXPECT_EQ(describe(tree()), c.description);
        test::delete_tree(platform.registry, reg::current_user, scratch.sub_key());
    }
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
        {"REGEDIT4\n[%K]\n\"v\"=\"1\"\n", 0},
        {"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = c.text;
        for (std::size_t at; (at = text.find("%K")) != std::string::npos;)
            text.replace(at, 2, long_path + "\\h");
        file = scratch_file("header.reg");
        platform.files.create_file(file, text);
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
    EXPECT_EQ(import({"REGEDIT4", "[%K]", "\"gone\"=-", "@=\"\"", "[-%K\\leaf]",
                      "[-%K\\parent]"}),
              1);
    EXPECT_EQ(describe(tree()),
              (std::vector<std::string>{"", "|kept|sz:2", "parent", "parent\\child",
                                        "parent\\child|v|sz:1"}));
}

TEST_F(Import, ErrorOnTheWayGivesZeroAndKeepsEarlierChanges) {
    for (const char* bad : {"[", "\"d\"=dword:100000000"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(import({"REGEDIT4", "[%K]", "\"before\"=\"1\"", bad, "[%K]", "\"after\"=\"2\""}),
                  0);
        EXPECT_EQ(describe(tree()), (std::vector<std::string>{"", "|before|sz:1"}));
        test::delete_tree(platform.registry, reg::current_user, scratch.sub_key());
    }
}

TEST_F(Import, KeyThatRefusesWritingIsPassedOver) {
#if defined(_WIN32)
    GTEST_SKIP() << "a key that refuses writing is made only on the twin";
#else
    put_text("locked", "v", "old");
    test_platform.twin()->registry.set_read_only(reg::current_user,
                                                 scratch.sub_key() + "\\locked", true);
    EXPECT_EQ(import({"REGEDIT4", "[%K\\locked]", "\"v\"=\"new\"", "\"w\"=dword:1", "\"v\"=-",
                      "[%K\\open]", "\"v\"=\"1\""}),
              1);
    EXPECT_EQ(describe(tree()), (std::vector<std::string>{"", "locked", "locked|v|sz:old", "open",
                                                          "open|v|sz:1"}));
#endif
}

}  // namespace
}  // namespace tarnwell::test
