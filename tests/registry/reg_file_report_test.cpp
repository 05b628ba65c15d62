// What the export and import report besides their result: why they failed, and each
// value, key or operation that did not make it into the file or the registry. Also keys
// deeper than a path text the registry takes in one call.
#include <gtest/gtest.h>

#include <optional>

#include "registry/reg_file_fixture.h"
#include "registry/reg_import_text.h"

namespace tarnwell::test {
namespace {

// "key|value|what" per problem, the key below the scratch key; the status only as
// failed or not.
std::vector<std::string> problems(const RegFileReport& report, const std::string& scratch_path) {
    std::vector<std::string> lines;
    for (const RegFileProblem& problem : report.problems) {
        std::string key = problem.key;
        if (key.rfind(scratch_path, 0) == 0) key = "%K" + key.substr(scratch_path.size());
        lines.push_back((problem.line != 0 ? std::to_string(problem.line) + ":" : "") + key + "|" +
                        problem.value + "|" + problem.what +
                        (problem.status != 0 ? " (failed)" : ""));
    }
    return lines;
}

class Reports : public RegFileTest {
protected:
    RegFileReport report;

    std::int32_t import_text(std::string text) {
        for (std::size_t at; (at = text.find("%K")) != std::string::npos;)
            text.replace(at, 2, long_path);
        const std::string file = scratch_file("report.reg");
        platform.files.create_file(file, text);
        return registry.ImportFromReg(file, &report);
    }
};

TEST_F(Reports, ExportNamesWhatItLeavesOut) {
    put("", "expand", reg::type_expand_sz, std::string("%x%\0", 4));
    put("", "multi", reg::type_multi_sz, std::string("a\0b\0\0", 5));
    put("", "wide", 11, std::string(8, '\1'));
    put_text("", "kept", "k");
    put_text("lines", "two", "first\r\nsecond");
    put_text("quote", "a\"=b", "v");
    put_text("at", "@", "x");
    const std::string file = scratch_file("left-out.reg");
    EXPECT_EQ(registry.ExportToReg(scratch.path(), file, true, nullptr, &report), 1);
    EXPECT_EQ(report.failure, "");
    EXPECT_EQ(problems(report, long_path),
              (std::vector<std::string>{
                  "%K|expand|not exported: expandable text", "%K|multi|not exported: multi-text",
                  "%K|wide|not exported: 64-bit number",
                  "%K\\at|@|a text named @: it will import as the default value",
                  "%K\\lines|two|holds a line break: it will not import whole",
                  "%K\\quote|a\"=b|its name holds \"=: it will not import whole"}));

    // A key that cannot be opened, and a file that is there already.
    EXPECT_EQ(registry.ExportToReg(scratch.path() + "\\missing", scratch_file("m.reg"), true,
                                   nullptr, &report),
              1);
    EXPECT_EQ(problems(report, long_path),
              (std::vector<std::string>{"%K\\missing||could not be opened: written without values "
                                        "(failed)"}));
    EXPECT_EQ(registry.ExportToReg(scratch.path(), file, true, nullptr, &report), 0);
    EXPECT_EQ(report.failure, file + " already exists");
}

TEST_F(Reports, ImportSaysWhyItStopped) {
    const struct {
        std::string text;
        std::string failure;
    } cases[] = {
        {"REGEDIT5\r\n", "not a REGEDIT4 file: its first line is not \"REGEDIT4\""},
        {"REGEDIT4\n[%K\\a]\n\"v\"=\"1\"\n", "lines must end in CR LF"},
        {"REGEDIT4\r\n[%K\\a]\n\"v\"=\"1\"\n", "line 2: lines must end in CR LF"},
        {"REGEDIT4\r\n\r\n[%K\\a]\n\"v\"=\"1\"\r\n", "line 3: lines must end in CR LF"},
        {"REGEDIT4\r\n[%K\\a]\r\n[\r\n", "line 3: a key line without a key: ["},
        {"REGEDIT4\r\n[%K\\a]\r\n\"d\"=dword:123456789\r\n",
         "line 3: the number is too large for 32 bits: \"d\"=dword:123456789"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(import_text(c.text), 0);
        EXPECT_EQ(report.failure, c.failure);
        // A file refused for its form changes nothing.
        if (c.failure.find("CR LF") != std::string::npos) {
            EXPECT_EQ(describe(tree()), std::vector<std::string>{""});
        }
    }
    EXPECT_EQ(registry.ImportFromReg(scratch_file("absent.reg"), &report), 0);
    EXPECT_NE(report.failure.find(": file not found"), std::string::npos);
}

TEST_F(Reports, ImportNamesEachOperationThatFailedAndGoesOn) {
    put_text("parent\\child", "v", "1");
    const std::string too_long(300, 'n');  // more than a key name may hold
    EXPECT_EQ(import_text("REGEDIT4\r\n"
                          "[-%K\\parent]\r\n"
                          "[-%K\\absent]\r\n"
                          "[%K\\" +
                          too_long +
                          "]\r\n\"v\"=\"1\"\r\n\"w\"=dword:2\r\n"
                          "[%K\\ok]\r\n\"gone\"=-\r\n\"v\"=\"2\"\r\n"),
              1);
    EXPECT_EQ(report.failure, "");
    const std::string lost = "|not written: the key could not be opened or created (failed)";
    EXPECT_EQ(problems(report, long_path),
              (std::vector<std::string>{"2:%K\\parent||key not deleted (failed)",
                                        "5:%K\\" + too_long + "|v" + lost,
                                        "6:%K\\" + too_long + "|w" + lost}));
    EXPECT_EQ(describe(tree()),
              (std::vector<std::string>{"", "ok", "ok|v|sz:2", "parent", "parent\\child",
                                        "parent\\child|v|sz:1"}));
}

// A block whose key cannot be made, followed by many value lines: the key is tried once
// for the writes and once for the deletes (each try a few calls, one per level), every
// failed line is counted, and what the report keeps of them stays within its limit.
TEST_F(Reports, ManyLinesUnderAKeyThatCannotBeMadeTryItOnce) {
    std::size_t opens = 0;
    HookedRegistry counting(platform.registry, [&](const HookedRegistry::Call& call) {
        if (call.operation == "create_key" || call.operation == "open_key") ++opens;
        return std::optional<long>();
    });
    constexpr std::size_t value_lines = 20000;
    std::string text = "REGEDIT4\r\n[" + long_path + "\\" + std::string(2000, 'n') + "]\r\n";
    for (std::size_t i = 0; i < value_lines; ++i)
        text += "\"v\"=\"1\"\r\n\"gone\"=-\r\n";
    EXPECT_EQ(apply_reg_text(counting, text, report), 1);
    EXPECT_LE(opens, 10u);
    EXPECT_EQ(report.problem_count(), 2 * value_lines);
    std::size_t kept = 0;
    for (const RegFileProblem& problem : report.problems)
        kept += problem.key.size() + problem.value.size() + problem.what.size();
    EXPECT_LE(kept, RegFileReport::kept_text_limit);
    EXPECT_GT(report.problems_not_kept, 0u);
}

#if !defined(_WIN32)
// Only a registry link back to a key above can make a tree deeper than Windows keeps
// keys (the twin makes the deep tree itself): the export stops there and says so.
TEST_F(Reports, AnExportStopsAtTheDeepestLevelWindowsKeeps) {
    std::string key;
    for (int level = 0; level < 515; ++level)
        key += (level == 0 ? "k" : "\\k");
    make_key(key);
    const std::string file = scratch_file("endless.reg");
    ASSERT_EQ(registry.ExportToReg(scratch.path(), file, true, nullptr, &report), 1);
    std::string deepest = "%K";
    for (int level = 0; level < 512; ++level)
        deepest += "\\k";
    EXPECT_EQ(
        problems(report, long_path),
        std::vector<std::string>{deepest + "||subkeys left out: they lie deeper than Windows keeps "
                                           "keys (a link back to a key above?)"});
    const std::string written = platform.files.read_file(file);
    std::size_t blocks = 0;
    for (std::size_t at = 0; (at = written.find("\r\n[", at)) != std::string::npos; ++at)
        ++blocks;
    EXPECT_EQ(blocks, 513u);
}
#endif

// Fourteen levels of 45-character names: a path longer than the registry takes in one
// call. Export and import reach every level.
TEST_F(Reports, DeepTreeExportsAndImportsWhole) {
    std::string key;
    for (int level = 0; level < 14; ++level) {
        key += (level == 0 ? "" : "\\") + std::string(44, static_cast<char>('a' + level)) +
               std::to_string(level % 10);
        put_text(key, "level", std::to_string(level));
    }
    const RegTree before = tree();
    ASSERT_EQ(before.size(), 15u);
    const std::string file = scratch_file("deep.reg");
    ASSERT_EQ(registry.ExportToReg(scratch.path(), file, true, nullptr, &report), 1);
    EXPECT_TRUE(report.problems.empty());
    test::delete_tree(platform.registry, reg::current_user, scratch.sub_key());
    ASSERT_EQ(registry.ImportFromReg(file, &report), 1);
    EXPECT_TRUE(report.problems.empty());
    EXPECT_EQ(describe(tree()), describe(before));
    EXPECT_TRUE(registry.KeyExists(scratch.path() + "\\" + key));
}

}  // namespace
}  // namespace tarnwell::test
