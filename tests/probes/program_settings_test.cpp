// Listing a section of the program settings tree, against the host twin on Linux and
// the real registry under Wine.
#include <gtest/gtest.h>

#include <string>

#include "platform/system_platform.h"
#include "probes/program_settings.h"
#include "registry/reg_key.h"
#include "registry/twin_registry.h"
#include "support/registry_test_support.h"
#include "support/scratch_key.h"

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
        // The tree itself goes again only when this test made it; Windows refuses while
        // anything else is in it, and then it stays.
        if (!tree_existed) (void)api.delete_key(reg::current_user, program_settings_tree);
    }
    void TearDown() override { EXPECT_EQ(test::open_handles(tp), 0u); }

    void set(const std::string& section, const std::string& name, std::uint32_t type,
             const std::string& data) {
        if (type == reg::type_none)
            test::make_key(api, reg::current_user, app_key + "\\" + section);
        else
            test::put_value(api, reg::current_user, app_key + "\\" + section, name, type, data);
    }
    SectionSettings list(const std::string& section) {
        return read_section_settings(api, app + "\\" + section);
    }

    SystemPlatform tp;
    RegistryApi& api = tp.platform().registry;
    test::ScratchKey scratch{api};
    std::string app;
    std::string app_key;
    bool tree_existed = false;
};

TEST_F(SettingsEnumeration, AMissingOrEmptySectionHoldsNothing) {
    set("Empty", "", reg::type_none, "");
    for (const char* section : {"Missing", "Empty"}) {
        SCOPED_TRACE(section);
        const SectionSettings read = list(section);
        EXPECT_EQ(read.value_count, 0u);
        EXPECT_TRUE(read.settings.empty());
    }
}

TEST_F(SettingsEnumeration, ValuesComeInRegistryOrderAsText) {
    set("Projection", "Second", reg::type_sz, "UTM 32N\0"s);
    set("Projection", "first", reg::type_sz, "WGS 84\0"s);
    set("Projection", "Third", reg::type_sz, "\0"s);  // empty data is kept
    const SectionSettings read = list("Projection");
    EXPECT_EQ(read.value_count, 3u);
    EXPECT_EQ(read.settings, (Table{{"first", "WGS 84"}, {"Second", "UTM 32N"}, {"Third", ""}}));
}

TEST_F(SettingsEnumeration, BlankNamesAreSkippedButCounted) {
    set("S", "", reg::type_sz, "default\0"s);
    set("S", "   ", reg::type_sz, "spaces\0"s);
    set("S", " lead", reg::type_sz, "  both  \0"s);
    set("S", "number", reg::type_dword, "abc\0"s);
    set("S", "bytes", reg::type_binary, "xyz");
    set("S", "z", reg::type_sz, "last\0"s);
    const SectionSettings read = list("S");
    EXPECT_EQ(read.value_count, 6u);
    EXPECT_EQ(read.settings,
              (Table{{" lead", "  both  "}, {"bytes", "xyz"}, {"number", "abc"}, {"z", "last"}}));
}

// A value added once the section's count was taken is not listed: the settings never
// outnumber the count, which sizes the window's table.
TEST_F(SettingsEnumeration, AValueAddedDuringTheListingIsNotTakenPastTheCount) {
    set("S", "b", reg::type_sz, "1\0"s);
    set("S", "c", reg::type_sz, "2\0"s);
    bool added = false;
    test::HookedRegistry adding(api, [&](const test::HookedRegistry::Call& call) {
        if (call.operation == "enum_value" && !added) {
            added = true;
            set("S", "a", reg::type_sz, "new\0"s);
        }
        return std::optional<long>();
    });
    const SectionSettings read = read_section_settings(adding, app + "\\S");
    ASSERT_TRUE(added);
    EXPECT_EQ(read.value_count, 2u);
    EXPECT_EQ(read.settings.size(), 2u);
}

// One value of the settings tree: its text up to the first NUL, blanks kept, or
// nothing; the key is closed again on every path.
TEST_F(SettingsEnumeration, OneSettingIsItsTextOrNothing) {
    set("Gantrel", "Name", reg::type_sz, "  UTM 32N  \0"s);
    set("Gantrel", "Cut", reg::type_sz, "a\0b\0"s);
    set("Gantrel", "Empty", reg::type_sz, "\0"s);
    test::HookedRegistry counted(api, [](const auto&) { return std::optional<long>(); });
    const struct {
        const char* section;
        const char* name;
        const char* expected;
    } cases[] = {
        {"Gantrel", "Name", "  UTM 32N  "}, {"Gantrel", "Cut", "a"},       {"Gantrel", "Empty", ""},
        {"Gantrel", "Missing", "<none>"},   {"Missing", "Name", "<none>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "\\" + c.name);
        EXPECT_EQ(program_setting(counted, app, c.section, c.name).value_or("<none>"), c.expected);
        EXPECT_EQ(counted.open_handles(), 0u);
    }
}

}  // namespace
}  // namespace tarnwell
