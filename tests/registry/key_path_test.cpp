// Key path notation: root and subkey of the texts callers write.
#include <gtest/gtest.h>

#include "registry/key_path.h"

namespace tarnwell {
namespace {

struct KeyPathCase {
    std::string path;
    reg_key root;
    std::string sub_key;
};

TEST(KeyPath, RootAndSubkey) {
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
        const KeyPath split = split_key_path(c.path);
        EXPECT_EQ(split.root, c.root);
        EXPECT_EQ(split.sub_key, c.sub_key);
    }
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
