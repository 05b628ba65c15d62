// The registry interface's contract: the same tests run against the host twin on
// Linux and against advapi32 under Wine, inside a scratch key.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/system_platform.h"
#include "registry/twin_registry.h"
#include "support/scratch_key.h"

namespace tarnwell {
namespace {

using test::ScratchKey;

constexpr long bad_pathname = 161;

class RegistryContract : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(
            r.open_key(reg::current_user, scratch.sub_key().c_str(), reg::key_all_access, &base),
            reg::success);
    }
    void TearDown() override {
        EXPECT_EQ(r.close_key(base), reg::success);
        EXPECT_EQ(test::open_handles(tp), 0u);
    }

    reg_key create(const std::string& sub) {
        reg_key key = 0;
        EXPECT_EQ(r.create_key(base, sub.c_str(), &key), reg::success) << sub;
        return key;
    }
    void close(reg_key key) { EXPECT_EQ(r.close_key(key), reg::success); }
    void make_key(const std::string& sub) { close(create(sub)); }
    // Opens the key for reading and closes it again; how the opening went.
    Status opens(reg_key parent, const std::string& sub, std::uint32_t access = reg::key_read,
                 RegistryApi* api = nullptr) {
        if (api == nullptr) api = &r;
        reg_key key = 0;
        Status status = api->open_key(parent, sub.c_str(), access, &key);
        if (status.ok()) {
            EXPECT_EQ(api->close_key(key), reg::success) << sub;
        }
        return status;
    }
    void set(reg_key key, const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(r.set_value(key, name.c_str(), type,
                              reinterpret_cast<const std::uint8_t*>(bytes.data()),
                              static_cast<std::uint32_t>(bytes.size())),
                  reg::success);
    }
    void set_text(reg_key key, const std::string& name, const std::string& text) {
        set(key, name, reg::type_sz, std::string(text.c_str(), text.size() + 1));
    }
    void set_bytes(reg_key key, const std::string& name, const std::string& bytes) {
        set(key, name, reg::type_binary, bytes);
    }
    // The key's subkey names, or its value names, in the order they enumerate.
    std::vector<std::string> names(reg_key key, bool of_values = false) {
        std::vector<std::string> names;
        char name[300];
        for (std::uint32_t i = 0, size = sizeof name;
             (of_values ? r.enum_value(key, i, name, &size, nullptr, nullptr, nullptr)
                        : r.enum_subkey(key, i, name, &size)) == reg::success;
             ++i, size = sizeof name)
            names.emplace_back(name, size);
        return names;
    }
    // Subkeys, longest subkey name, values, longest value name, longest data.
    using Info = std::array<std::uint32_t, 5>;
    Info info(reg_key key) {
        Info n{};
        EXPECT_EQ(r.query_key_info(key, &n[0], &n[1], &n[2], &n[3], &n[4]), reg::success);
        return n;
    }

    SystemPlatform tp;
    RegistryApi& r = tp.platform().registry;
    ScratchKey scratch{r};
    reg_key base = 0;
};

struct OpenCase {
    const char* what;
    std::string prepare;  // key created first, "" for none
    std::string sub_key;
    long open_status;
    long create_status;
};

TEST_F(RegistryContract, OpenAndCreateFollowTheSubkeyText) {
    const std::string name255(255, 'n');
    const std::string name257(257, 'n');
    const std::string path260 = "p\\" + std::string(200, 'q') + "\\" + std::string(57, 'r');
    const std::string path261 = path260 + "r";
    ASSERT_EQ(path260.size(), 260u);
    const OpenCase cases[] = {
        {"missing key", "", "missing", reg::file_not_found, reg::success},
        {"missing parent", "", "no\\such\\key", reg::file_not_found, reg::success},
        {"other letter case", "Mixed\\Case", "mIXED\\cASE", reg::success, reg::success},
        {"trailing backslash", "t", "t\\", reg::success, reg::success},
        {"doubled backslash", "d\\e", "d\\\\e", reg::success, reg::success},
        {"leading backslash", "lead", "\\lead", bad_pathname, bad_pathname},
        {"name of 255 characters", name255, name255, reg::success, reg::success},
        {"name of 257 characters", "", name257, reg::invalid_parameter, reg::invalid_parameter},
        {"subkey text of 260 characters", path260, path260, reg::success, reg::success},
        // The wide calls take a path text of any length.
        {"subkey text of 261 characters", "", path261, reg::file_not_found, reg::success},
    };
    // A key that is no registry link opens alike when a link would be opened itself.
    const std::function<Status(const char*, reg_key*)> openings[] = {
        [&](const char* sub, reg_key* key) { return r.open_key(base, sub, reg::key_read, key); },
        [&](const char* sub, reg_key* key) { return r.open_link(base, sub, reg::key_read, key); },
        [&](const char* sub, reg_key* key) { return r.open_key_default(base, sub, key); },
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.prepare.empty()) make_key(c.prepare);
        for (std::size_t i = 0; i < std::size(openings); ++i) {
            reg_key key = 0x777;
            EXPECT_EQ(openings[i](c.sub_key.c_str(), &key), c.open_status) << "opening " << i;
            if (key != 0 && key != 0x777) close(key);
            if (c.open_status != reg::success) {
                EXPECT_EQ(key, 0u) << "opening " << i;
            }
        }
        reg_key key = 0x777;
        EXPECT_EQ(r.create_key(base, c.sub_key.c_str(), &key), c.create_status);
        if (c.create_status == reg::success) {
            close(key);
        } else {
            EXPECT_EQ(key, 0u);
        }
    }
    // Removed here: the scratch key's clean-up goes by path texts, too long for these.
    EXPECT_EQ(r.delete_key(base, name255.c_str()), reg::success);
    EXPECT_EQ(r.delete_key(base, path260.c_str()), reg::success);
    EXPECT_EQ(r.delete_key(base, path261.c_str()), reg::success);
    EXPECT_EQ(r.delete_key(base, path260.substr(0, 202).c_str()), reg::success);
}

TEST_F(RegistryContract, CreateMakesEveryMissingLevelAndKeepsTheFirstSpelling) {
    make_key("One\\Two\\Three");
    make_key("ONE\\two\\Four");
    reg_key one = 0;
    ASSERT_EQ(r.open_key(base, "one", reg::key_read, &one), reg::success);
    EXPECT_EQ(names(base), std::vector<std::string>{"One"});
    reg_key two = 0;
    ASSERT_EQ(r.open_key(one, "TWO", reg::key_read, &two), reg::success);
    EXPECT_EQ(names(two), (std::vector<std::string>{"Four", "Three"}));
    close(two);
    close(one);
}

TEST_F(RegistryContract, RootsAndEmptySubkeys) {
    reg_key key = 0;
    // A predefined root opened with no subkey is the root itself; closing it is a no-op.
    EXPECT_EQ(r.open_key(reg::current_user, "", reg::key_read, &key), reg::success);
    EXPECT_EQ(key, reg::current_user);
    EXPECT_EQ(r.open_key_default(reg::current_user, nullptr, &key), reg::success);
    EXPECT_EQ(key, reg::current_user);
    EXPECT_EQ(r.close_key(reg::current_user), reg::success);
    EXPECT_EQ(opens(reg::current_user, scratch.sub_key()), reg::success);
    // RegOpenKeyA with no subkey hands back the handle it was given, valid or not.
    EXPECT_EQ(r.open_key_default(base, "", &key), reg::success);
    EXPECT_EQ(key, base);
    EXPECT_EQ(r.open_key_default(0, "", &key), reg::success);
    EXPECT_EQ(key, 0u);
    // RegOpenKeyExA and RegCreateKeyA with no subkey open a new handle to the same key.
    reg_key again = 0;
    ASSERT_EQ(r.open_key(base, "", reg::key_read, &again), reg::success);
    EXPECT_NE(again, base);
    close(again);
    ASSERT_EQ(r.create_key(base, nullptr, &again), reg::success);
    EXPECT_NE(again, base);
    close(again);
    ASSERT_EQ(r.create_key(reg::current_user, "", &again), reg::success);
    EXPECT_NE(again, reg::current_user);
    close(again);
    // No key behind 0 or behind an unknown root; a handle is closed once.
    EXPECT_EQ(r.open_key(0, "", reg::key_read, &key), reg::invalid_handle);
    EXPECT_EQ(r.open_key_default(0, "Software", &key), reg::invalid_handle);
    EXPECT_EQ(r.create_key(0, "Software", &key), reg::invalid_handle);
    EXPECT_EQ(r.open_key(0x80000007u, "", reg::key_read, &key), reg::invalid_handle);
    EXPECT_EQ(r.close_key(0), reg::invalid_handle);
    ASSERT_EQ(r.open_key(base, "", reg::key_read, &again), reg::success);
    EXPECT_EQ(r.close_key(again), reg::success);
    EXPECT_EQ(r.close_key(again), reg::invalid_handle);
    // Performance data only opens as itself.
    EXPECT_EQ(r.open_key(reg::performance_data, "", reg::key_read, &key), reg::success);
    EXPECT_EQ(key, reg::performance_data);
    EXPECT_EQ(r.create_key(reg::performance_data, "x", &key), reg::invalid_handle);
    // A root key itself is never deleted.
    EXPECT_EQ(r.delete_key(reg::current_user, ""), reg::access_denied);
}

TEST_F(RegistryContract, ClassesRootShowsTheMachineClasses) {
    const std::string classes = "Software\\Classes\\" + scratch.sub_key().substr(9);
    reg_key key = 0;
    ASSERT_EQ(r.create_key(reg::local_machine, classes.c_str(), &key), reg::success);
    close(key);
    EXPECT_EQ(opens(reg::classes_root, classes.substr(17)), reg::success);
    EXPECT_EQ(r.delete_key(reg::local_machine, classes.c_str()), reg::success);
}

// HKLM\SOFTWARE\X of the 32-bit view is HKLM\SOFTWARE\Wow6432Node\X of the 64-bit one.
TEST_F(RegistryContract, The32BitViewKeepsMachineSoftwareUnderWow6432Node) {
    RegistryApi& r32 = tp.platform().registry_32;
    RegistryApi& r64 = tp.platform().registry_64;
    if (!opens(reg::local_machine, "SOFTWARE\\Wow6432Node", reg::key_read, &r64).ok())
        GTEST_SKIP() << "a 32-bit Windows has one view";
    const std::string own = "SOFTWARE\\" + scratch.sub_key().substr(9);
    const std::string under_wow = "SOFTWARE\\Wow6432Node\\" + scratch.sub_key().substr(9);
    reg_key key = 0;
    ASSERT_EQ(r32.create_key(reg::local_machine, (own + "\\sub").c_str(), &key), reg::success);
    close(key);
    EXPECT_EQ(opens(reg::local_machine, own, reg::key_read, &r32), reg::success);
    EXPECT_EQ(opens(reg::local_machine, own, reg::key_read, &r64), reg::file_not_found);
    EXPECT_EQ(r64.open_key_default(reg::local_machine, (under_wow + "\\sub").c_str(), &key),
              reg::success);
    close(key);
    // Below an open key its own subkeys are found, whichever view is asked for: SOFTWARE
    // opened in the 32-bit view is Wow6432Node, in the 64-bit view SOFTWARE itself.
    for (const auto& [opened_in, asked_in, found] :
         {std::tuple{&r32, &r64, reg::success}, std::tuple{&r64, &r32, reg::file_not_found}}) {
        reg_key software = 0;
        ASSERT_EQ(opened_in->open_key(reg::local_machine, "SOFTWARE", reg::key_read, &software),
                  reg::success);
        EXPECT_EQ(asked_in->open_key(software, own.substr(9).c_str(), reg::key_read, &key), found);
        if (found == reg::success) close(key);
        close(software);
    }
    EXPECT_EQ(r32.delete_key(reg::local_machine, (own + "\\sub").c_str()), reg::success);
    EXPECT_EQ(r32.delete_key(reg::local_machine, own.c_str()), reg::success);
    EXPECT_EQ(opens(reg::local_machine, under_wow, reg::key_read, &r64), reg::file_not_found);
}

TEST_F(RegistryContract, SubkeysAndValuesEnumerateSortedWithoutRegardToCase) {
    const std::vector<std::string> written = {"zeta", "Alpha", "_under", "beta", "a", "A2",
                                              "Zz",   "[x",    "a b",    "a.b",  "a{"};
    const std::vector<std::string> sorted = {"[x",    "_under", "a",    "a b",  "a.b", "A2",
                                             "Alpha", "a{",     "beta", "zeta", "Zz"};
    for (const std::string& n : written) {
        make_key(n);
        set_text(base, n, n);
    }
    make_key("ALPHA");
    set_text(base, "ALPHA", "again");
    EXPECT_EQ(names(base), sorted);
    EXPECT_EQ(names(base, true), sorted);
    char text[16];
    std::uint32_t size = sizeof text;
    ASSERT_EQ(r.query_value(base, "alpha", nullptr, reinterpret_cast<std::uint8_t*>(text), &size),
              reg::success);
    EXPECT_STREQ(text, "again");
}

TEST_F(RegistryContract, EnumKeyNeedsRoomForTheNul) {
    make_key("abc");
    char name[8] = "#######";
    std::uint32_t size = 3;
    EXPECT_EQ(r.enum_subkey(base, 0, name, &size), reg::more_data);
    EXPECT_EQ(size, 3u);
    EXPECT_STREQ(name, "#######");
    size = 4;
    EXPECT_EQ(r.enum_subkey(base, 0, name, &size), reg::success);
    EXPECT_EQ(size, 3u);
    EXPECT_STREQ(name, "abc");
    EXPECT_EQ(r.enum_subkey(base, 1, name, &size), reg::no_more_items);
}

struct EnumValueCase {
    const char* what;
    std::uint32_t name_size;
    std::uint32_t data_size;
    long status;
    std::string name_out;         // name buffer afterwards (up to its first NUL)
    std::uint32_t name_size_out;  // name size afterwards
    std::uint32_t data_size_out;
    std::string data_out;  // data buffer afterwards, first data_size_out bytes
};

TEST_F(RegistryContract, EnumValueBufferSemantics) {
    set_bytes(base, "bin", "0123456789");
    const EnumValueCase cases[] = {
        {"both fit", 4, 10, reg::success, "bin", 3, 10, "0123456789"},
        {"data too small: name untouched", 4, 9, reg::more_data, "#######", 4, 10, "#########"},
        {"name needs its NUL", 3, 10, reg::more_data, "bi", 3, 10, "0123456789"},
        {"name buffer of one", 1, 10, reg::more_data, "", 1, 10, "0123456789"},
        {"name buffer of none", 0, 10, reg::more_data, "#######", 0, 10, "0123456789"},
    };
    for (const EnumValueCase& c : cases) {
        SCOPED_TRACE(c.what);
        char name[8] = "#######";
        std::uint8_t data[16];
        std::memset(data, '#', sizeof data);
        std::uint32_t name_size = c.name_size, data_size = c.data_size, type = 0;
        EXPECT_EQ(r.enum_value(base, 0, name, &name_size, &type, data, &data_size), c.status);
        EXPECT_EQ(std::string(name), c.name_out);
        EXPECT_EQ(name_size, c.name_size_out);
        EXPECT_EQ(data_size, c.data_size_out);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(data), c.data_out.size()), c.data_out);
        EXPECT_EQ(type, reg::type_binary);
    }
    std::uint32_t name_size = 8, data_size = 0;
    char name[8];
    EXPECT_EQ(r.enum_value(base, 0, name, &name_size, nullptr, nullptr, &data_size), reg::success);
    EXPECT_EQ(data_size, 10u);
    std::uint8_t data[4];
    EXPECT_EQ(r.enum_value(base, 0, name, &name_size, nullptr, data, nullptr),
              reg::invalid_parameter);
    EXPECT_EQ(r.enum_value(base, 1, name, &name_size, nullptr, nullptr, nullptr),
              reg::no_more_items);
}

TEST_F(RegistryContract, EnumValueTruncatesALongName) {
    const std::string name300(300, 'v');
    set_bytes(base, name300, "ab");
    char name[300];
    std::uint8_t data[255];
    std::uint32_t name_size = 255, data_size = 255, type = 0;
    EXPECT_EQ(r.enum_value(base, 0, name, &name_size, &type, data, &data_size), reg::more_data);
    EXPECT_EQ(std::string(name), std::string(254, 'v'));
    EXPECT_EQ(name_size, 255u);
    EXPECT_EQ(data_size, 2u);
    EXPECT_EQ(type, reg::type_binary);
}

struct QueryCase {
    const char* what;
    const char* name;
    bool with_data;
    std::uint32_t size_in;
    long status;
    std::uint32_t size_out;
    std::string data_out;  // buffer afterwards, size_in bytes (or none without data)
};

TEST_F(RegistryContract, QueryValueBufferSemantics) {
    set_text(base, "text", "hello");
    set(base, "bare", reg::type_sz, "xyz");
    set(base, "empty", reg::type_sz, "");
    set_bytes(base, "bin", "abc");
    const QueryCase cases[] = {
        {"text fits", "text", true, 6, reg::success, 6, std::string("hello\0", 6)},
        {"text too long", "text", true, 5, reg::more_data, 6, "#####"},
        {"size only", "text", false, 1, reg::success, 6, ""},
        {"missing value", "none", true, 7, reg::file_not_found, 7, "#######"},
        {"missing value, size only", "none", false, 7, reg::file_not_found, 0, ""},
        {"text without NUL gains one", "bare", true, 5, reg::success, 3, std::string("xyz\0#", 5)},
        {"text without NUL, exact room", "bare", true, 3, reg::success, 3, "xyz"},
        {"empty text leaves the buffer", "empty", true, 4, reg::success, 0, "####"},
        {"bytes get no NUL", "bin", true, 5, reg::success, 3, "abc##"},
        {"bytes too long", "bin", true, 1, reg::more_data, 3, "#"},
    };
    for (const QueryCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::uint8_t data[16];
        std::memset(data, '#', sizeof data);
        std::uint32_t size = c.size_in, type = 99;
        EXPECT_EQ(r.query_value(base, c.name, &type, c.with_data ? data : nullptr, &size),
                  c.status);
        EXPECT_EQ(size, c.size_out);
        if (c.status == reg::file_not_found) {
            EXPECT_EQ(type, reg::type_none);
        }
        if (c.with_data) {
            EXPECT_EQ(std::string(reinterpret_cast<char*>(data), c.size_in), c.data_out);
        }
    }
    std::uint8_t data[4];
    EXPECT_EQ(r.query_value(base, "text", nullptr, data, nullptr), reg::invalid_parameter);
    EXPECT_EQ(r.query_value(base, "text", nullptr, nullptr, nullptr), reg::success);
    // The empty name and a null name are the key's default value.
    set_text(base, "", "default");
    std::uint32_t size = sizeof data;
    EXPECT_EQ(r.query_value(base, nullptr, nullptr, nullptr, &size), reg::success);
    EXPECT_EQ(size, 8u);
}

// Names and texts in UTF-8, whatever the ANSI code page: found in any letter case,
// never confused with a look-alike, counted as Windows counts them.
TEST_F(RegistryContract, NamesAndTextsOutsideTheCodePageAreKeptExactly) {
    const std::string dvorak = "Dvo\xC5\x99\xC3\xA1k", look_alike = "Dvor\xC3\xA1k";
    make_key(dvorak);
    EXPECT_EQ(opens(base, "DVO\xC5\x98\xC3\x81K"), reg::success);
    EXPECT_EQ(opens(base, look_alike), reg::file_not_found);
    EXPECT_EQ(names(base), std::vector<std::string>{dvorak});
    set_text(base, "\xD0\x96", "\xE6\x95\xB0\xF0\x9F\x98\x80");
    std::uint8_t data[16] = {};
    std::uint32_t size = sizeof data, type = 0;
    ASSERT_EQ(r.query_value(base, "\xD0\xB6", &type, data, &size), reg::success);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size),
              std::string("\xE6\x95\xB0\xF0\x9F\x98\x80\0", 8));
    EXPECT_EQ(info(base), (Info{1, 6, 1, 1, 8}));
}

TEST_F(RegistryContract, QueryInfoCountsAndLongestOfWhatIsThere) {
    make_key("k1");
    make_key("longer");
    set_text(base, "abcdef", "0123456789");  // 11 bytes of UTF-8, stored as 22
    set_bytes(base, "b", std::string(16, 'x'));
    EXPECT_EQ(info(base), (Info{2, 6, 2, 6, 22}));
    ASSERT_EQ(r.delete_value(base, "ABCDEF"), reg::success);
    ASSERT_EQ(r.delete_key(base, "LONGER"), reg::success);
    EXPECT_EQ(info(base), (Info{1, 2, 1, 1, 16}));
    EXPECT_EQ(r.query_key_info(base, nullptr, nullptr, nullptr, nullptr, nullptr), reg::success);
}

TEST_F(RegistryContract, ValueNamesUpTo16383Characters) {
    const std::string longest(16383, 'w');
    set_bytes(base, longest, "x");
    std::uint32_t size = 0;
    EXPECT_EQ(r.query_value(base, longest.c_str(), nullptr, nullptr, &size), reg::success);
    const std::string too_long(16384, 'w');
    EXPECT_EQ(r.set_value(base, too_long.c_str(), reg::type_binary,
                          reinterpret_cast<const std::uint8_t*>("x"), 1),
              reg::invalid_parameter);
    EXPECT_EQ(r.delete_value(base, longest.c_str()), reg::success);
    EXPECT_EQ(r.delete_value(base, longest.c_str()), reg::file_not_found);
}

TEST_F(RegistryContract, HandlesAllowOnlyWhatTheyWereOpenedFor) {
    make_key("child");
    set_text(base, "v", "x");
    reg_key read = 0, write = 0;
    ASSERT_EQ(r.open_key(base, "", reg::key_read, &read), reg::success);
    ASSERT_EQ(r.open_key(base, "", reg::key_write, &write), reg::success);
    std::uint8_t data[4];
    std::uint32_t size = sizeof data;
    char name[8];
    std::uint32_t name_size = sizeof name;
    EXPECT_EQ(r.set_value(read, "w", reg::type_binary, data, 1), reg::access_denied);
    EXPECT_EQ(r.delete_value(read, "v"), reg::access_denied);
    EXPECT_EQ(r.query_value(read, "v", nullptr, data, &size), reg::success);
    EXPECT_EQ(r.query_value(write, "v", nullptr, data, &size), reg::access_denied);
    EXPECT_EQ(r.enum_subkey(write, 0, name, &name_size), reg::access_denied);
    EXPECT_EQ(r.enum_value(write, 0, name, &name_size, nullptr, nullptr, nullptr),
              reg::access_denied);
    EXPECT_EQ(r.query_key_info(write, nullptr, nullptr, nullptr, nullptr, nullptr), reg::success);
    EXPECT_EQ(r.set_value(write, "w", reg::type_binary, data, 1), reg::success);
    EXPECT_EQ(r.delete_value(write, "w"), reg::success);
    close(read);
    close(write);
    // Deleting the key itself needs no particular access.
    ASSERT_EQ(r.open_key(base, "child", reg::key_read, &read), reg::success);
    EXPECT_EQ(r.delete_key(read, ""), reg::success);
    close(read);
}

TEST_F(RegistryContract, DeleteRefusesKeysWithSubkeysAndMissingKeys) {
    make_key("parent\\child");
    EXPECT_EQ(r.delete_key(base, "parent"), reg::access_denied);
    EXPECT_EQ(r.delete_key(base, "nosuch"), reg::file_not_found);
    EXPECT_EQ(r.delete_value(base, "nosuch"), reg::file_not_found);
    EXPECT_EQ(r.delete_key(base, "PARENT\\CHILD"), reg::success);
    EXPECT_EQ(r.delete_key(base, "parent\\"), reg::success);
    EXPECT_EQ(names(base), std::vector<std::string>{});
}

TEST_F(RegistryContract, AHandleToADeletedKeyFailsEverythingButClose) {
    reg_key gone = create("gone");
    set_text(gone, "v", "x");
    ASSERT_EQ(r.delete_key(gone, ""), reg::success);
    std::uint8_t data[4] = {};
    std::uint32_t size = sizeof data;
    char name[8];
    std::uint32_t name_size = sizeof name;
    reg_key other = 0;
    const Status results[] = {
        r.query_value(gone, "v", nullptr, data, &size),
        r.set_value(gone, "v", reg::type_binary, data, 1),
        r.delete_value(gone, "v"),
        r.enum_subkey(gone, 0, name, &name_size),
        r.enum_value(gone, 0, name, &name_size, nullptr, nullptr, nullptr),
        r.query_key_info(gone, nullptr, nullptr, nullptr, nullptr, nullptr),
        r.open_key(gone, "", reg::key_read, &other),
        r.open_key(gone, "x", reg::key_read, &other),
        r.create_key(gone, "x", &other),
        r.delete_key(gone, ""),
    };
    for (std::size_t i = 0; i < std::size(results); ++i)
        EXPECT_EQ(results[i], reg::key_deleted) << "call " << i;
    EXPECT_EQ(r.close_key(gone), reg::success);
    // Whether the handle allows a call is checked first.
    gone = create("gone");
    reg_key writing = 0;
    ASSERT_EQ(r.open_key(gone, "", reg::key_write, &writing), reg::success);
    ASSERT_EQ(r.delete_key(gone, ""), reg::success);
    EXPECT_EQ(r.query_value(writing, "v", nullptr, data, &size), reg::access_denied);
    EXPECT_EQ(r.set_value(writing, "v", reg::type_binary, data, 1), reg::key_deleted);
    close(writing);
    close(gone);
    // A key made again under the same name is a new key.
    reg_key again = create("gone");
    size = sizeof data;
    EXPECT_EQ(r.query_value(again, "v", nullptr, data, &size), reg::file_not_found);
    close(again);
}

// Keys whose security allows only reading cannot be made through the interface; the
// twin marks them.
TEST_F(RegistryContract, ReadOnlyKeyRefusesMoreThanReading) {
    make_key("ro\\below");
    const std::string ro = scratch.sub_key() + "\\ro";
    if (!test::set_read_only(tp, reg::current_user, ro, true))
        GTEST_SKIP() << "needs a key whose security allows only reading";
    EXPECT_EQ(opens(base, "ro", reg::key_all_access), reg::access_denied);
    EXPECT_EQ(opens(base, "ro", reg::key_write), reg::access_denied);
    EXPECT_EQ(r.delete_key(base, "ro\\below"), reg::success);
    EXPECT_EQ(r.delete_key(base, "ro"), reg::access_denied);
    reg_key key = 0;
    EXPECT_EQ(r.create_key(base, "ro\\new", &key), reg::access_denied);
    ASSERT_EQ(opens(base, "ro"), reg::success);
    // The default access of RegOpenKeyA and RegCreateKeyA gets reading only.
    ASSERT_EQ(r.open_key_default(base, "ro", &key), reg::success);
    const std::uint8_t byte = 1;
    EXPECT_EQ(r.set_value(key, "v", reg::type_binary, &byte, 1), reg::access_denied);
    close(key);
    ASSERT_EQ(r.create_key(base, "ro", &key), reg::success);
    EXPECT_EQ(r.set_value(key, "v", reg::type_binary, &byte, 1), reg::access_denied);
    close(key);
    test::set_read_only(tp, reg::current_user, ro, false);
    EXPECT_EQ(r.delete_key(base, "ro"), reg::success);
}

}  // namespace
}  // namespace tarnwell
