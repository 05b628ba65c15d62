// Key path notation: root and subkey of the texts callers write, read strictly by the
// core and as the published class reads them.
#include <gtest/gtest.h>

#include "registry/key_path.h"
#include "registry_access/class_key_path.h"

namespace tarnwell {
namespace {

struct KeyPathCase {
    std::string path;
    reg_key root;
    std::string sub_key;
};

// A split path as "root|subkey", the root by its short name ("none" for 0).
std::string shown(reg_key root, const std::string& sub_key) {
    const std::pair<reg_key, const char*> names[] = {
        {reg::current_user, "HKCU"},   {reg::local_machine, "HKLM"},    {reg::classes_root, "HKCR"},
        {reg::users, "HKUS"},          {reg::performance_data, "HKPD"}, {reg::dyn_data, "HKDD"},
        {reg::current_config, "HKCC"},
    };
    std::string name = "none";
    for (const auto& [known, short_name] : names)
        if (known == root) name = short_name;
    return name + "|" + sub_key;
}

// The core's strict reading, where the root stands whole up to a backslash or the end,
// beside the published class's own, where the root is the first four characters
// wherever the first backslash is. Either way the subkey goes to the registry unchanged,
// root names in it too.
TEST(KeyPath, StrictAndClassReadings) {
    const std::string same = "as strict";
    const struct {
        std::string path;
        std::string strict;  // "root|subkey", or the unknown root the failure names
        std::string by_class;
    } cases[] = {
        {"HKCU\\Software\\X", "HKCU|Software\\X", same},
        {"hkcu\\Software\\X", "HKCU|Software\\X", same},
        {"HKEY_CURRENT_USER\\Software\\X", "HKCU|Software\\X", same},
        {"\\HKEY_CURRENT_USER\\Software\\X", "HKCU|Software\\X", same},
        {"\\HKCU\\Software", "HKCU|Software", "none|HKCU\\Software"},
        {"hkey_local_machine\\SOFTWARE", "HKLM|SOFTWARE", same},
        {"HKEY_CLASSES_ROOT\\.txt", "HKCR|.txt", same},
        {"Hkey_Users\\.Default", "HKUS|.Default", same},
        {"\\HKEY_PERFORMANCE_DATA", "HKPD|", same},
        {"HKEY_DYN_DATA\\a", "HKDD|a", same},
        {"HKEY_CURRENT_CONFIG\\b", "HKCC|b", same},
        {"HKCR", "HKCR|", same},
        {"hkus", "HKUS|", same},
        {"HKPD\\x", "HKPD|x", same},
        {"hkdd", "HKDD|", same},
        {"HKCC\\", "HKCC|", same},
        {"HKLM", "HKLM|", same},
        {"HKCU\\Software\\HKEY_USERS", "HKCU|Software\\HKEY_USERS", same},
        {"\\HKEY_LOCAL_MACHINE\\x\\HKEY_LOCAL_MACHINE\\HKEY_CURRENT_USER",
         "HKLM|x\\HKEY_LOCAL_MACHINE\\HKEY_CURRENT_USER", same},
        {"HKLM\\ Soft\\\\ware \\", "HKLM| Soft\\\\ware \\", same},
        {"HKCUTools\\Foo", "HKCUTools", "HKCU|Foo"},
        {"HKCUX\\a", "HKCUX", "HKCU|a"},
        {"HKEY_CURRENT_USERX\\Software\\Foo", "HKEY_CURRENT_USERX", "HKCU|Software\\Foo"},
        {"\\HKCUX", "HKCUX", "none|HKCUX"},
        {"HKXX\\Software", "HKXX", "none|Software"},
        {"HKU\\x", "HKU", "none|x"},
        {"HK\\x", "HK", "none|x"},
        {" HKCU\\x", " HKCU", "none|x"},
        {"Software\\HKEY_CURRENT_USER", "Software", "none|HKEY_CURRENT_USER"},
        {"\\\\HKEY_USERS\\a", "", "none|\\HKEY_USERS\\a"},
        {"", "", "none|"},
        {"\\", "", "none|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const Result<KeyPath> read = read_key_path(c.path);
        if (c.strict.find('|') == std::string::npos) {
            ASSERT_FALSE(read.ok());
            EXPECT_EQ(read.status().description(), "unknown root \"" + c.strict + "\"");
        } else {
            ASSERT_TRUE(read.ok()) << read.status().description();
            EXPECT_EQ(shown(read->root, read->sub_key), c.strict);
        }
        const KeyPath split = class_key_path(c.path);
        EXPECT_EQ(shown(split.root, split.sub_key), c.by_class == same ? c.strict : c.by_class);
    }
}

// Commands also take reg.exe's HKU for HKEY_USERS; the class does not.
TEST(KeyPath, CommandReadingTakesHku) {
    const KeyPathCase cases[] = {
        {"HKU\\.Default\\Software", reg::users, ".Default\\Software"},
        {"hku", reg::users, ""},
        {"\\Hku\\x", reg::users, "x"},
        {"HKUS\\x", reg::users, "x"},
        {"HKCU\\HKU", reg::current_user, "HKU"},
        {"HKUX\\x", 0, ""},
    };
    for (const KeyPathCase& c : cases) {
        SCOPED_TRACE(c.path);
        const Result<KeyPath> read = read_command_key_path(c.path);
        ASSERT_EQ(read.ok(), c.root != 0);
        if (!read.ok()) continue;
        EXPECT_EQ(read->root, c.root);
        EXPECT_EQ(read->sub_key, c.sub_key);
    }
    EXPECT_EQ(with_reg_exe_root("hku\\x"), "HKEY_USERS\\x");
    EXPECT_EQ(class_key_path("HKU\\x").root, 0u);
    EXPECT_EQ(class_key_path("HKU").root, 0u);
}

TEST(KeyPath, LongRootForTheExport) {
    const std::pair<const char*, const char*> cases[] = {
        {"HKCU\\Software", "HKEY_CURRENT_USER\\Software"},
        {"hklm", "HKEY_LOCAL_MACHINE"},
        {"HkCr\\.txt", "HKEY_CLASSES_ROOT\\.txt"},
        {"HKUS\\a", "HKEY_USERS\\a"},
        {"HKPD", "HKEY_PERFORMANCE_DATA"},
        {"HKDD\\a", "HKEY_DYN_DATA\\a"},
        {"hkcc\\", "HKEY_CURRENT_CONFIG\\"},
        {"\\HKCU\\a", "\\HKEY_CURRENT_USER\\a"},
        // Only the root is expanded, and only a root of exactly four letters.
        {"HKCU\\HKLM\\HKCUTools", "HKEY_CURRENT_USER\\HKLM\\HKCUTools"},
        {"HKCUTools\\a", "HKCUTools\\a"},
        {"HKEY_CURRENT_USER\\a", "HKEY_CURRENT_USER\\a"},
        {"HKXX\\a", "HKXX\\a"},
        {"\\\\HKCU", "\\\\HKCU"},
        {"", ""},
    };
    for (const auto& [path, expanded] : cases)
        EXPECT_EQ(with_long_root(path), expanded) << path;
}

}  // namespace
}  // namespace tarnwell
