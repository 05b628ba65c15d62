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

TEST(KeyPath, StrictReading) {
    const struct {
        std::string path;
        reg_key root;
        std::string sub_key;
        const char* unknown_root;  // the root the failure names; nullptr when read
    } cases[] = {
        {"HKCU\\Software\\X", reg::current_user, "Software\\X", nullptr},
        {"hkcu\\Software\\X", reg::current_user, "Software\\X", nullptr},
        {"HKEY_CURRENT_USER\\Software\\X", reg::current_user, "Software\\X", nullptr},
        {"\\HKEY_CURRENT_USER\\Software\\X", reg::current_user, "Software\\X", nullptr},
        {"\\HKCU\\Software", reg::current_user, "Software", nullptr},
        {"hkey_local_machine\\SOFTWARE", reg::local_machine, "SOFTWARE", nullptr},
        {"HKEY_CLASSES_ROOT\\.txt", reg::classes_root, ".txt", nullptr},
        {"Hkey_Users\\.Default", reg::users, ".Default", nullptr},
        {"\\HKEY_PERFORMANCE_DATA", reg::performance_data, "", nullptr},
        {"HKEY_DYN_DATA\\a", reg::dyn_data, "a", nullptr},
        {"HKEY_CURRENT_CONFIG\\b", reg::current_config, "b", nullptr},
        {"HKCR", reg::classes_root, "", nullptr},
        {"hkus", reg::users, "", nullptr},
        {"HKPD\\x", reg::performance_data, "x", nullptr},
        {"hkdd", reg::dyn_data, "", nullptr},
        {"HKCC\\", reg::current_config, "", nullptr},
        {"HKLM", reg::local_machine, "", nullptr},
        // The subkey goes to the registry unchanged, root names in it too.
        {"HKCU\\Software\\HKEY_USERS", reg::current_user, "Software\\HKEY_USERS", nullptr},
        {"HKLM\\ Soft\\\\ware \\", reg::local_machine, " Soft\\\\ware \\", nullptr},
        // The root stands whole, up to a backslash or the end.
        {"HKCUTools\\Foo", 0, "", "HKCUTools"},
        {"HKEY_CURRENT_USERX\\Software\\Foo", 0, "", "HKEY_CURRENT_USERX"},
        {"\\HKCUX", 0, "", "HKCUX"},
        {"HKXX\\Software", 0, "", "HKXX"},
        {"HKU\\x", 0, "", "HKU"},
        {"HK\\x", 0, "", "HK"},
        {" HKCU\\x", 0, "", " HKCU"},
        {"Software\\HKEY_CURRENT_USER", 0, "", "Software"},
        {"\\\\HKEY_USERS\\a", 0, "", ""},
        {"", 0, "", ""},
        {"\\", 0, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const Result<KeyPath> read = read_key_path(c.path);
        if (c.unknown_root != nullptr) {
            ASSERT_FALSE(read.ok());
            EXPECT_EQ(read.status().description(),
                      "unknown root \"" + std::string(c.unknown_root) + "\"");
            continue;
        }
        ASSERT_TRUE(read.ok()) << read.status().description();
        EXPECT_EQ(read->root, c.root);
        EXPECT_EQ(read->sub_key, c.sub_key);
    }
}

// The published class's own reading: the root is the first four characters.
TEST(KeyPath, ClassReading) {
    const KeyPathCase cases[] = {
        {"HKCU\\Software\\X", reg::current_user, "Software\\X"},
        {"hkcu\\Software\\X", reg::current_user, "Software\\X"},
        {"HKEY_CURRENT_USER\\Software\\X", reg::current_user, "Software\\X"},
        {"\\HKEY_CURRENT_USER\\Software\\X", reg::current_user, "Software\\X"},
        {"hkey_local_machine\\SOFTWARE", reg::local_machine, "SOFTWARE"},
        {"HKEY_CLASSES_ROOT\\.txt", reg::classes_root, ".txt"},
        {"Hkey_Users\\.Default", reg::users, ".Default"},
        {"\\HKEY_PERFORMANCE_DATA", reg::performance_data, ""},
        {"HKEY_DYN_DATA\\a", reg::dyn_data, "a"},
        {"HKEY_CURRENT_CONFIG\\b", reg::current_config, "b"},
        {"HKCR", reg::classes_root, ""},
        {"hkus", reg::users, ""},
        {"HKPD\\x", reg::performance_data, "x"},
        {"hkdd", reg::dyn_data, ""},
        {"HKCC\\", reg::current_config, ""},
        {"HKLM", reg::local_machine, ""},
        // The root is the first four characters wherever the first backslash is.
        {"HKCUX\\a", reg::current_user, "a"},
        {"HKEY_CURRENT_USERX\\a", reg::current_user, "a"},
        {"HK\\x", 0, "x"},
        {"\\HKCU\\Software", 0, "HKCU\\Software"},
        {"\\\\HKEY_USERS\\a", 0, "\\HKEY_USERS\\a"},
        {"HKXX\\Software", 0, "Software"},
        {"HKCUX", 0, ""},
        {"", 0, ""},
        {"\\", 0, ""},
        // A root name further down is a key's own name and stays as it is.
        {"HKCU\\Software\\HKEY_USERS", reg::current_user, "Software\\HKEY_USERS"},
        {"\\HKEY_LOCAL_MACHINE\\x\\HKEY_LOCAL_MACHINE\\HKEY_CURRENT_USER", reg::local_machine,
         "x\\HKEY_LOCAL_MACHINE\\HKEY_CURRENT_USER"},
        {"Software\\HKEY_CURRENT_USER", 0, "HKEY_CURRENT_USER"},
        // The subkey goes to the registry unchanged.
        {"HKLM\\ Soft\\\\ware \\", reg::local_machine, " Soft\\\\ware \\"},
    };
    for (const KeyPathCase& c : cases) {
        SCOPED_TRACE(c.path);
        const KeyPath split = class_key_path(c.path);
        EXPECT_EQ(split.root, c.root);
        EXPECT_EQ(split.sub_key, c.sub_key);
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
