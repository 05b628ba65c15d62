// Listing a section of the program settings tree, against the host twin on Linux and
// the real registry under Wine.
#include <gtest/gtest.h>

#include <string>

#include "probes/program_settings.h"
#include "probes/settings_enumeration.h"
#include "registry/reg_key.h"
#include "registry/twin_registry.h"
#include "support/registry_test_support.h"
#include "support/test_platform.h"

namespace tarnwell {
namespace {

using namespace std::string_literals;
using Table = std::vector<std::array<std::string, 2>>;

// A made-up application of the settings tree for one test, removed afterwards.
class SettingsEnumeration : public ::testing::Test {
protected:
    SettingsEnumeration() {
        // ScratchKey's unique name, reused as the application's name.
        app = scratch.sub_key().substr(scratch.sub_key().find('\\') + 1);
        app_key = std::string(program_settings_tree) + "\\" + app;
        tree_existed = RegKey(api).open(reg::current_user, program_settings_tree, reg::key_read) ==
                       reg::success;
    }
    ~SettingsEnumeration() override {
        test::delete_tree(api, reg::current_user, app_key);
        // The tree itself goes again only when this test made it and nothing else is in it.
        if (!tree_existed) api.delete_key(reg::current_user, program_settings_tree);
    }
    void TearDown() override { EXPECT_EQ(test::open_handles(tp), 0u); }

    void set(const std::string& section, const std::string& name, std::uint32_t type,
             const std::string& data) {
        if (type == reg::type_none)
            test::make_key(api, reg::current_user, app_key + "\\" + section);
        else
            test::put_value(api, reg::current_user, app_key + "\\" + section, name, type, data);
    }
    std::int32_t list(const std::string& section, Table& table) {
        return GetAllSettingValue(api, app + "\\" + section, table);
    }

    test::TestPlatform tp;
    RegistryApi& api = tp.platform().registry;
    test::ScratchKey scratch{api};
    std::string app;
    std::string app_key;
    bool tree_existed = false;
};

TEST_F(SettingsEnumeration, AMissingOrEmptySectionLeavesTheTableAlone) {
    set("Empty", "", reg::type_none, "");
    const Table before = {{"kept", "row"}};
    for (const char* section : {"Missing", "Empty"}) {
        SCOPED_TRACE(section);
        Table table = before;
        EXPECT_EQ(list(section, table), 0);
        EXPECT_EQ(table, before);
    }
}

TEST_F(SettingsEnumeration, ValuesComeInRegistryOrderAsText) {
    set("Projection", "Second", reg::type_sz, "UTM 32N\0"s);
    set("Projection", "first", reg::type_sz, "WGS 84\0"s);
    set("Projection", "Third", reg::type_sz, "\0"s);  // empty data is kept
    Table table = {{"stale", "row"}};
    EXPECT_EQ(list("Projection", table), 3);
    EXPECT_EQ(table, (Table{{"first", "WGS 84"}, {"Second", "UTM 32N"}, {"Third", ""}}));
}

TEST_F(SettingsEnumeration, BlankNamesAreSkippedButKeepTheirRows) {
    set("S", "", reg::type_sz, "default\0"s);
    set("S", "   ", reg::type_sz, "spaces\0"s);
    set("S", " lead", reg::type_sz, "  both  \0"s);
    set("S", "number", reg::type_dword, "abc\0"s);
    set("S", "bytes", reg::type_binary, "xyz");
    set("S", "z", reg::type_sz, "last\0"s);
    Table table;
    EXPECT_EQ(list("S", table), 4);
    EXPECT_EQ(table, (Table{{" lead", "  both  "},
                            {"bytes", "xyz"},
                            {"number", "abc"},
                            {"z", "last"},
                            {"", ""},
                            {"", ""}}));
}

// One value of the settings tree: its text up to the first NUL, blanks kept, or the
// caller's default; the key is closed again on every path.
TEST_F(SettingsEnumeration, GetSettingReadsOneValueOrGivesTheDefault) {
    set("Gantrel", "Name", reg::type_sz, "  UTM 32N  \0"s);
    set("Gantrel", "Cut", reg::type_sz, "a\0b\0"s);
    set("Gantrel", "Empty", reg::type_sz, "\0"s);
    test::HookedRegistry counted(api, [](const auto&) { return std::optional<long>(); });
    const struct {
        const char* section;
        const char* name;
        const char* expected;
    } cases[] = {
        {"Gantrel", "Name", "  UTM 32N  "}, {"Gantrel", "Cut", "a"},
        {"Gantrel", "Empty", ""},           {"Gantrel", "Missing", "<default>"},
        {"Missing", "Name", "<default>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "\\" + c.name);
        EXPECT_EQ(GetSetting(counted, app, c.section, c.name, "<default>"), c.expected);
        EXPECT_EQ(counted.open_handles(), 0u);
    }
}

}  // namespace
}  // namespace tarnwell
