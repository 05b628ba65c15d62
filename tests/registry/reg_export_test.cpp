#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "common/text.h"
#include "registry/reg_file_fixture.h"
#include "support/file_test_support.h"
#include "support/registry_test_support.h"

namespace tarnwell::test {
namespace {

class Export : public RegFileTest {
protected:
    static constexpr const char* header = "REGEDIT4\r\n\r\n";
    std::string file = scratch_file("export.reg");

    std::string exported(const std::string& path, bool subkeys = true) {
        EXPECT_EQ(registry.ExportToReg(path, file, subkeys), 1);
        return file_text(platform.files, file);
    }
    // A key's block as the export writes it: its key line, its value lines and an empty
    // line, each ended with CR LF. The key is below the scratch key ("" for the key itself).
    std::string block(const std::string& key, std::initializer_list<std::string> values) const {
        std::string text = "[" + long_path + (key.empty() ? "" : "\\" + key) + "]\r\n";
        for (const std::string& line : values)
            text += line + "\r\n";
        return text + "\r\n";
    }
};

TEST_F(Export, KeyWithOneValueOfEachKindIsWrittenInTheFileLayout) {
    put_text("", "", "x");
    put_text("", "Path", "C:\\Bin");
    put("", "B", reg::type_binary, std::string("\x01\xFF", 2));
    put_number("", "N", 10);
    EXPECT_EQ(exported(scratch.path(), false),
              header + block("", {"@=\"x\"", "\"Path\"=\"C:\\\\Bin\"", "\"B\"=hex:01,FF",
                                  "\"N\"=dword:0000000A"}));
}

TEST_F(Export, KeyWithoutValuesGivesItsKeyLineAndAnEmptyLine) {
    EXPECT_EQ(exported(scratch.path()), header + block("", {}));
}

TEST_F(Export, RootIsWrittenOutInFullOnlyWhereItStandsAsTheRoot) {
    put_text("HKCUTools", "v", "1");
    const std::string below = scratch.sub_key() + "\\HKCUTools";
    const struct {
        std::string path, key_line;
    } cases[] = {
        {"hkcu\\" + below, "[HKEY_CURRENT_USER\\" + below + "]"},
        {"HKEY_CURRENT_USER\\" + below, "[HKEY_CURRENT_USER\\" + below + "]"},
        {"\\HKCU\\" + below, "[\\HKEY_CURRENT_USER\\" + below + "]"},
        // The class's root is the first four characters; the file names the key exported.
        {"HKCUX\\" + below, "[HKEY_CURRENT_USER\\" + below + "]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        file = scratch_file("root.reg");
        EXPECT_EQ(exported(c.path), header + c.key_line + "\r\n\"v\"=\"1\"\r\n\r\n");
    }
}

TEST_F(Export, NumbersAreEightUpperCaseHexDigits) {
    const struct {
        std::int32_t number;
        const char* digits;
    } cases[] = {{255, "000000FF"}, {-1, "FFFFFFFF"}, {0, "00000000"}, {INT32_MIN, "80000000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.digits);
        put_number("", "n", c.number);
        file = scratch_file("number.reg");
        const std::string line = "\r\n\"n\"=dword:" + std::string(c.digits) + "\r\n";
        EXPECT_NE(exported(scratch.path()).find(line), std::string::npos);
    }
}

TEST_F(Export, ValuesAreWrittenWholeWithBackslashesAndQuotesEscaped) {
    const std::string long_text(300, 'y');
    std::string bytes, pairs;
    for (int i = 0; i < 1000; ++i) {
        bytes += static_cast<char>(i * 7);
        char pair[4];
        std::snprintf(pair, sizeof pair, i == 0 ? "%02X" : ",%02X", (i * 7) & 0xFF);
        pairs += pair;
    }
    put_text("", "long", long_text);
    put_text("", "odd", "a\\b\"c=d");
    put_text("", " spaced ", " x ");
    put("", "bytes", reg::type_binary, bytes);
    put("", "empty", reg::type_binary, "");
    const std::string text = exported(scratch.path());
    for (const std::string& line :
         {"\"long\"=\"" + long_text + "\"", std::string("\"odd\"=\"a\\\\b\\\"c=d\""),
          std::string("\" spaced \"=\" x \""), "\"bytes\"=hex:" + pairs,
          std::string("\"empty\"=hex:")}) {
        EXPECT_NE(text.find("\r\n" + line + "\r\n"), std::string::npos) << line;
    }
}

TEST_F(Export, DefaultValueIsAnAtLineInTheFormOfItsType) {
    put("", "", reg::type_binary, "\x01");
    put("Empty", "", reg::type_sz, std::string("\0", 1));
    put("Expand", "", reg::type_expand_sz, std::string("%x%\0", 4));
    put_number("Sub", "", 7);
    put("Text", "", reg::type_sz, std::string("t\0", 2));
    EXPECT_EQ(exported(scratch.path()),
              header + block("", {"@=hex:01"}) + block("Empty", {"@=hex(1):00"}) +
                  block("Expand", {"@=hex(2):25,78,25,00"}) + block("Sub", {"@=dword:00000007"}) +
                  block("Text", {"@=\"t\""}));
}

// The registry as Windows lists a key's values: in the order they were created, where
// the twin and Wine sort them by name. Values written through it are listed first, in
// the order written (known by name alone, enough for one key), then the others.
class ValuesInCreationOrder : public HookedRegistry {
public:
    explicit ValuesInCreationOrder(RegistryApi& inner)
        : HookedRegistry(inner, [](const Call&) { return std::optional<long>(); }) {}

    Status set_value(reg_key key, const char* value_name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t data_size) override {
        if (std::find(created_.begin(), created_.end(), value_name) == created_.end())
            created_.emplace_back(value_name);
        return HookedRegistry::set_value(key, value_name, type, data, data_size);
    }
    Status enum_value(reg_key key, std::uint32_t index, char* name, std::uint32_t* name_size,
                      std::uint32_t* type, std::uint8_t* data, std::uint32_t* data_size) override {
        // The inner listing's indexes, in the order of creation.
        std::vector<std::pair<std::size_t, std::uint32_t>> order;
        std::vector<char> listed(65536);
        for (std::uint32_t at = 0;; ++at) {
            std::uint32_t size = static_cast<std::uint32_t>(listed.size());
            if (!HookedRegistry::enum_value(key, at, listed.data(), &size, nullptr, nullptr,
                                            nullptr)
                     .ok())
                break;
            const std::string listed_name(listed.data(), size);
            order.emplace_back(
                std::find(created_.begin(), created_.end(), listed_name) - created_.begin(), at);
        }
        std::stable_sort(order.begin(), order.end());
        const std::uint32_t inner_index = index < order.size() ? order[index].second : index;
        return HookedRegistry::enum_value(key, inner_index, name, name_size, type, data, data_size);
    }

private:
    std::vector<std::string> created_;
};

TEST_F(Export, TheDefaultValueComesFirstWhateverTheRegistrysOrder) {
    ValuesInCreationOrder windows_order(platform.registry);
    test::put_text(windows_order, reg::current_user, scratch.sub_key(), "text", "k");
    test::put_number(windows_order, reg::current_user, scratch.sub_key(), "number", 1);
    test::put_text(windows_order, reg::current_user, scratch.sub_key(), "", "default");
    clsRegistryAccess exporter(windows_order, platform.files, platform.desktop);
    EXPECT_EQ(exporter.ExportToReg(scratch.path(), file, false), 1);
    EXPECT_EQ(file_text(platform.files, file),
              header + block("", {"@=\"default\"", "\"text\"=\"k\"", "\"number\"=dword:00000001"}));
}

TEST_F(Export, ValuesOfOtherTypesFollowTheNumbers) {
    put("", "expand", reg::type_expand_sz, std::string("%x%\0", 4));
    put("", "multi", reg::type_multi_sz, std::string("a\0b\0\0", 5));
    put_number("", "number", 1);
    put("", "short", reg::type_dword, "\x02");
    put("", "bytes", reg::type_binary, "\x03");
    put_text("", "text", "k");
    EXPECT_EQ(exported(scratch.path()),
              header + block("", {"\"text\"=\"k\"", "\"bytes\"=hex:03", "\"number\"=dword:00000001",
                                  "\"short\"=hex(4):02", "\"expand\"=hex(2):25,78,25,00",
                                  "\"multi\"=hex(7):61,00,62,00,00"}));
}

TEST_F(Export, SubkeysFollowInPreOrderOnlyWhenAsked) {
    // Each key's value is its path with "/" between the levels.
    const auto slashed = [](std::string key) {
        std::replace(key.begin(), key.end(), '\\', '/');
        return key;
    };
    for (const char* key : {"a", "a\\a1", "a\\a1\\a11", "a\\a2", "b"})
        put_text(key, "v", slashed(key));
    put_text("", "v", "root");
    std::string expected = header + block("", {"\"v\"=\"root\""});
    EXPECT_EQ(exported(scratch.path(), false), expected);
    file = scratch_file("tree.reg");
    for (const char* key : {"a", "a\\a1", "a\\a1\\a11", "a\\a2", "b"})
        expected += block(key, {"\"v\"=\"" + slashed(key) + "\""});
    EXPECT_EQ(exported(scratch.path(), true), expected);
}

TEST_F(Export, LargeTreeIsWrittenInFull) {
    const std::string bytes(1000, '\x5A');
    std::string pairs = "5A";
    for (int i = 1; i < 1000; ++i)
        pairs += ",5A";
    std::string expected = header + block("", {});
    for (int i = 0; i < 70; ++i) {
        const std::string key = "k" + std::to_string(100 + i);
        put(key, "b", reg::type_binary, bytes);
        expected += block(key, {"\"b\"=hex:" + pairs});
    }
    EXPECT_EQ(exported(scratch.path()), expected);
}

TEST_F(Export, KeyThatCannotBeOpenedGivesZeroAndNoFile) {
    for (const std::string& path : {scratch.path() + "\\missing", "HKXX\\" + scratch.sub_key()}) {
        SCOPED_TRACE(path);
        file = scratch_file("missing.reg");
        EXPECT_EQ(registry.ExportToReg(path, file, true), 0);
        EXPECT_FALSE(must(platform.files.matches_exist(file)));
    }
}

TEST_F(Export, ExistingFileIsNeverOverwritten) {
    put_text("", "v", "1");
    must(write_file(platform.files, file, "precious"));
    // Windows reaches the file under other spellings of its name too.
    for (const std::string& name : {file, upper(file), file + ".", file + ". ."}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(registry.ExportToReg(scratch.path(), name, true), 0);
        EXPECT_EQ(file_text(platform.files, file), "precious");
    }
}

TEST_F(Export, FileMadeAfterTheSearchIsNotReplaced) {
    put_text("", "v", "1");
    // Another program makes the file between the export's search and the end of the export.
    HookedFileSystem racing(platform.files,
                            [&](const std::string& operation, const std::string& path) {
                                if (operation == "create_pending_file")
                                    must(write_file(platform.files, path, "theirs"));
                                return Status();
                            });
    clsRegistryAccess exporter(platform.registry, racing, platform.desktop);
    EXPECT_EQ(exporter.ExportToReg(scratch.path(), file, true), 0);
    EXPECT_EQ(file_text(platform.files, file), "theirs");
}

TEST_F(Export, FileThatCannotBeCreatedGivesZero) {
    EXPECT_EQ(registry.ExportToReg(scratch.path(), file + "\\no\\such\\folder.reg", true), 0);
}

TEST_F(Export, KeyThatCannotBeListedWholeFailsTheExport) {
    put_text("", "v", "root");
    put_text("a", "v", "1");
    put_text("b", "v", "2");
    put_text("b", "w", "3");
    put_text("b\\b1", "v", "4");
    put_text("b\\b2", "v", "5");
    put_text("c", "v", "6");
    const std::string before_b =
        header + block("", {"\"v\"=\"root\""}) + block("a", {"\"v\"=\"1\""});
    const std::string no_file;
    // From its second entry on (or at once, for the query), the listing of key b fails
    // with the status, as when the key is deleted while it is read.
    const struct {
        const char* call;
        long status;
        std::int32_t result;
        std::string text;
    } cases[] = {
        // A failure leaves no file.
        {"query_key_info", reg::key_deleted, 0, no_file},
        {"enum_value", reg::key_deleted, 0, no_file},
        {"enum_subkey", reg::key_deleted, 0, no_file},
        {"enum_value", reg::access_denied, 0, no_file},
        {"enum_value", reg::more_data, 0, no_file},
        // A list that got shorter meanwhile ends where it ends.
        {"enum_value", reg::no_more_items, 1,
         before_b + block("b", {"\"v\"=\"2\""}) + block("b\\b1", {"\"v\"=\"4\""}) +
             block("b\\b2", {"\"v\"=\"5\""}) + block("c", {"\"v\"=\"6\""})},
        {"enum_subkey", reg::no_more_items, 1,
         before_b + block("b", {"\"v\"=\"2\"", "\"w\"=\"3\""}) + block("b\\b1", {"\"v\"=\"4\""}) +
             block("c", {"\"v\"=\"6\""})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.call) + " " + std::to_string(c.status));
        const std::string b = scratch.sub_key() + "\\b";
        test::HookedRegistry failing(
            platform.registry, [&](const test::HookedRegistry::Call& call) {
                const bool from_here = call.operation == "query_key_info" || call.index >= 1;
                return call.operation == c.call && call.key_path == b && from_here
                           ? std::optional<long>(c.status)
                           : std::nullopt;
            });
        clsRegistryAccess exporter(failing, platform.files, platform.desktop);
        file = scratch_file("failing.reg");
        EXPECT_EQ(exporter.ExportToReg(scratch.path(), file, true), c.result);
        if (c.result == 0) {
            EXPECT_FALSE(must(platform.files.matches_exist(file)));
        } else {
            EXPECT_EQ(file_text(platform.files, file), c.text);
        }
    }
}

class RecordingStatus : public StatusText {
public:
    Status set_text(const std::string& text) override {
        if (fail_at == static_cast<int>(texts.size())) return Status::failure("status failed");
        texts.push_back(text);
        return Status();
    }
    std::vector<std::string> texts;
    int fail_at = -1;
};

TEST_F(Export, StatusShowsEachKeyBeforeItsBlock) {
    put_text("a", "v", "1");
    put_text("b", "v", "2");
    RecordingStatus status;
    EXPECT_EQ(registry.ExportToReg(scratch.path(), file, true, &status), 1);
    EXPECT_EQ(status.texts,
              (std::vector<std::string>{long_path, long_path + "\\a", long_path + "\\b"}));
#if !defined(_WIN32)
    EXPECT_EQ(twin_of(test_platform)->desktop.pending_events_processed, 3);
#endif
}

TEST_F(Export, FailureOnTheWayStopsTheExportAndLeavesNoFile) {
    put_text("a", "v", "1");
    put_text("b", "v", "2");
    RecordingStatus status;
    status.fail_at = 2;
    EXPECT_EQ(registry.ExportToReg(scratch.path(), file, true, &status), 0);
    EXPECT_FALSE(must(platform.files.matches_exist(file)));
}

}  // namespace
}  // namespace tarnwell::test
