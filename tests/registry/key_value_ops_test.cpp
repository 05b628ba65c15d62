// The key and value operations of clsRegistryAccess, against the host twin on Linux and
// the real registry under Wine, inside a scratch key. After every test no key handle
// may be left open.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>

#include <stdexcept>
#include "platform/system_platform.h"
#include "registry/reg_key.h"
#include "registry/twin_registry.h"
#include "registry_access/clsRegistryAccess.h"
#include "support/registry_test_support.h"
#include "support/scratch_key.h"

namespace tarnwell {
namespace {

class KeyValueOps : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(test::open_handles(tp), 0u); }

    std::string key(const std::string& below) const { return scratch.path() + "\\" + below; }
    void set_raw(const std::string& below, const std::string& name, std::uint32_t type,
                 const std::string& bytes) {
        test::put_value(api, reg::current_user, scratch.sub_key() + "\\" + below, name, type,
                        bytes);
    }

    SystemPlatform tp;
    RegistryApi& api = tp.platform().registry;
    test::ScratchKey scratch{api};
    clsRegistryAccess reg{api, tp.platform().files, tp.platform().desktop};
};

TEST_F(KeyValueOps, KeysAreCreatedTestedAndDeleted) {
    EXPECT_TRUE(reg.CreateKeyIfDoesntExists());
    EXPECT_NE(reg.CreateKey(key("A\\B\\C")), 0);
    EXPECT_TRUE(reg.KeyExists(key("a\\b\\c")));
    EXPECT_TRUE(reg.KeyExists("HKEY_CURRENT_USER\\" + scratch.sub_key() + "\\A\\B"));
    EXPECT_TRUE(reg.KeyExists("\\HKEY_CURRENT_USER\\" + scratch.sub_key()));
    EXPECT_TRUE(reg.KeyExists("HKCU"));
    EXPECT_TRUE(reg.HaveSubkey(key("A\\B")));
    EXPECT_FALSE(reg.HaveSubkey(key("A\\B\\C")));
    // A key with subkeys stays, yet the result says the key could be opened.
    EXPECT_NE(reg.KillKey(key("A\\B")), 0);
    EXPECT_TRUE(reg.KeyExists(key("A\\B")));
    EXPECT_NE(reg.KillKey(key("A\\B\\C")), 0);
    EXPECT_FALSE(reg.KeyExists(key("A\\B\\C")));
    EXPECT_NE(reg.KillKey(key("A\\B")), 0);
    EXPECT_FALSE(reg.HaveSubkey(key("A")));

    const std::string failing[] = {key("missing"), key("missing\\deeper"), "HKXX\\Software",
                                   "\\HKCU\\Software"};
    for (const std::string& path : failing) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(reg.KeyExists(path));
        EXPECT_EQ(reg.KillKey(path), 0);
        EXPECT_FALSE(reg.HaveSubkey(path));
    }
    EXPECT_EQ(reg.CreateKey("HKXX\\Software"), 0);
    EXPECT_EQ(reg.CreateKey("HKXX"), 0);
    EXPECT_FALSE(reg.KeyExists("HKXX"));
}

TEST_F(KeyValueOps, EnumKeysListsSubkeysInRegistryOrder) {
    reg.CreateKey(key("list\\beta"));
    reg.CreateKey(key("list\\Alpha"));
    // The longest key name; a path text that long is more than the registry takes, so
    // the key is made below an open handle.
    const std::string long_name(255, 'k');
    RegKey list(api);
    ASSERT_EQ(list.open(reg::current_user, scratch.sub_key() + "\\list", reg::key_all_access),
              reg::success);
    ASSERT_EQ(RegKey(api).create(list.handle(), long_name), reg::success);
    list.close();
    std::vector<std::string> keys = {"stale"};
    EXPECT_EQ(reg.EnumKeys(key("list"), keys), 3);
    EXPECT_EQ(keys, (std::vector<std::string>{"Alpha", "beta", long_name}));
    // A name that outgrew the buffer since the key's sizes were read (the registry says
    // ERROR_MORE_DATA) is read again into a larger one.
    bool outgrown = false;
    test::HookedRegistry growing(api, [&](const test::HookedRegistry::Call& call) {
        if (call.operation != "enum_subkey" || call.index != 1 || outgrown)
            return std::optional<long>();
        outgrown = true;
        return std::optional<long>(reg::more_data);
    });
    clsRegistryAccess growing_reg{growing, tp.platform().files, tp.platform().desktop};
    EXPECT_EQ(growing_reg.EnumKeys(key("list"), keys), 3);
    EXPECT_TRUE(outgrown);
    EXPECT_EQ(keys, (std::vector<std::string>{"Alpha", "beta", long_name}));
    EXPECT_EQ(reg.EnumKeys(key("list\\beta"), keys), 0);
    EXPECT_TRUE(keys.empty());
    keys = {"stale"};
    EXPECT_EQ(reg.EnumKeys(key("missing"), keys), -1);
    EXPECT_TRUE(keys.empty());
    EXPECT_EQ(reg.EnumKeys("HKXX\\Software", keys), -1);
    // RegOpenKeyA hands back the unknown root 0 itself; the listing then ends at once.
    EXPECT_EQ(reg.EnumKeys("HKXX", keys), 0);
}

struct RoundTrip {
    const char* what;
    std::function<std::int32_t(clsRegistryAccess&, const std::string&)> write;
    std::function<std::string(clsRegistryAccess&, const std::string&)> read;
    std::string expected;
};

TEST_F(KeyValueOps, ValuesReadBackAsWritten) {
    using R = clsRegistryAccess;
    const std::string text254(254, 't'), text255(255, 't');
    const RoundTrip cases[] = {
        {"text", [](R& r, auto& p) { return r.WriteString(p, "v", "some text"); },
         [](R& r, auto& p) { return r.ReadString(p, "V", "default"); }, "some text"},
        {"spaces are kept", [](R& r, auto& p) { return r.WriteString(p, "v", "  padded  "); },
         [](R& r, auto& p) { return r.ReadString(p, "v", "default"); }, "  padded  "},
        {"empty text", [](R& r, auto& p) { return r.WriteString(p, "v", ""); },
         [](R& r, auto& p) { return r.ReadString(p, "v", "default"); }, ""},
        {"254 characters", [&](R& r, auto& p) { return r.WriteString(p, "v", text254); },
         [](R& r, auto& p) { return r.ReadString(p, "v", "default"); }, text254},
        {"255 characters", [&](R& r, auto& p) { return r.WriteString(p, "v", text255); },
         [](R& r, auto& p) { return r.ReadString(p, "v", "default"); }, "default"},
        {"@ is the default value for WriteString",
         [](R& r, auto& p) { return r.WriteString(p, "@", "x"); },
         [](R& r, auto& p) { return r.ReadString(p, "", "default") + r.ReadString(p, "@", "-"); },
         "x-"},
        {"@ is a name for WriteDWORD", [](R& r, auto& p) { return r.WriteDWORD(p, "@", 5); },
         [](R& r, auto& p) {
             return std::to_string(r.ReadDWORD(p, "@", 0)) + r.ReadString(p, "", "-");
         },
         "5-"},
        {"number", [](R& r, auto& p) { return r.WriteDWORD(p, "n", -2); },
         [](R& r, auto& p) { return std::to_string(r.ReadDWORD(p, "n", 7)); }, "-2"},
        {"number, byte order", [](R& r, auto& p) { return r.WriteDWORD(p, "n", 0x00636261); },
         [](R& r, auto& p) { return r.ReadString(p, "n", "default"); }, "abc"},
        {"short text as number", [](R& r, auto& p) { return r.WriteString(p, "n", "ab"); },
         [](R& r, auto& p) { return std::to_string(r.ReadDWORD(p, "n", 7)); }, "25185"},
        {"long text as number", [](R& r, auto& p) { return r.WriteString(p, "n", "abcd"); },
         [](R& r, auto& p) { return std::to_string(r.ReadDWORD(p, "n", 7)); }, "7"},
        {"bytes", [](R& r, auto& p) { return r.WriteBinary(p, "b", "01 0a ff"); },
         [](R& r, auto& p) { return r.ReadBinary(p, "b", "default"); }, "01 0A FF"},
        {"no bytes", [](R& r, auto& p) { return r.WriteBinary(p, "b", ""); },
         [](R& r, auto& p) { return r.ReadBinary(p, "b", "default"); }, ""},
        {"one byte", [](R& r, auto& p) { return r.WriteBinary(p, "b", "7"); },
         [](R& r, auto& p) { return r.ReadBinary(p, "b", "default"); }, "07"},
        {"text as bytes", [](R& r, auto& p) { return r.WriteString(p, "b", "hi"); },
         [](R& r, auto& p) { return r.ReadBinary(p, "b", "default"); }, "68 69 00"},
    };
    int n = 0;
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = key("round\\" + std::to_string(n++));
        EXPECT_NE(c.write(reg, path), 0);
        EXPECT_EQ(c.read(reg, path), c.expected);
    }
}

TEST_F(KeyValueOps, MissingKeysValuesAndRootsGiveTheFailureValues) {
    reg.CreateKey(key("empty"));
    const std::string paths[] = {key("empty"), key("missing"), "HKXX\\Software", "HKXX", ""};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(reg.ReadString(path, "v", "default"), "default");
        EXPECT_EQ(reg.ReadDWORD(path, "v", 42), 42);
        EXPECT_EQ(reg.ReadBinary(path, "v", "default"), "default");
        EXPECT_FALSE(reg.ValueExists(path, "v"));
        std::vector<std::string> names = {"kept"};
        std::vector<RegValue> values(1);
        const std::int32_t listed = reg.EnumValues(path, names, values, -1);
        if (path == key("empty") || path == "HKXX" || path.empty()) {
            EXPECT_EQ(listed, 0);
            EXPECT_TRUE(names.empty());
        } else {
            EXPECT_EQ(listed, -1);
            EXPECT_EQ(names, std::vector<std::string>{"kept"});
        }
    }
    EXPECT_NE(reg.KillValue(key("empty"), "v"), 0);  // the key opened
    EXPECT_EQ(reg.KillValue(key("missing"), "v"), 0);
    EXPECT_EQ(reg.KillValue("HKXX\\Software", "v"), 0);
}

// The registry reads names only up to a NUL: a path or name holding one must fail
// rather than reach the key or value named by the part before it.
TEST_F(KeyValueOps, NamesHoldingANulAreRefused) {
    reg.WriteString(key("parent"), "v", "kept");
    const std::string nul_path = key("parent") + std::string("\0\\child", 7);
    const std::string nul_name("v\0w", 3);
    EXPECT_EQ(reg.KillKey(nul_path), 0);
    EXPECT_FALSE(reg.KeyExists(nul_path));
    EXPECT_EQ(reg.CreateKey(nul_path), 0);
    EXPECT_EQ(reg.WriteString(nul_path, "v", "x"), 0);
    EXPECT_EQ(reg.ReadString(nul_path, "v", "default"), "default");
    EXPECT_EQ(reg.WriteString(key("parent"), nul_name, "x"), 0);
    EXPECT_EQ(reg.ReadString(key("parent"), nul_name, "default"), "default");
    EXPECT_EQ(reg.WriteDWORD(key("parent"), nul_name, 7), 0);
    EXPECT_EQ(reg.WriteBinary(key("parent"), nul_name, "07"), 0);
    EXPECT_NE(reg.KillValue(key("parent"), nul_name), 0);  // the key opened; nothing went
    EXPECT_EQ(reg.ReadString(key("parent"), "v", ""), "kept");
    EXPECT_TRUE(reg.KeyExists(key("parent")));
    EXPECT_FALSE(reg.HaveSubkey(key("parent")));
}

TEST_F(KeyValueOps, WritersCreateAMissingKeyOnlyWhenAllowed) {
    reg.set_CreateKeyIfDoesntExists(false);
    EXPECT_FALSE(reg.CreateKeyIfDoesntExists());
    EXPECT_EQ(reg.WriteString(key("w\\s"), "v", "x"), 0);
    EXPECT_EQ(reg.WriteDWORD(key("w\\d"), "v", 1), 0);
    EXPECT_EQ(reg.WriteBinary(key("w\\b"), "v", "01"), 0);
    EXPECT_FALSE(reg.KeyExists(key("w")));
    reg.CreateKey(key("w"));
    EXPECT_NE(reg.WriteString(key("w"), "v", "x"), 0);
    reg.set_CreateKeyIfDoesntExists(true);
    EXPECT_NE(reg.WriteDWORD(key("w\\d"), "v", 1), 0);
    EXPECT_EQ(reg.ReadDWORD(key("w\\d"), "v", 0), 1);
    EXPECT_EQ(reg.WriteString("HKXX\\Software", "v", "x"), 0);
}

TEST_F(KeyValueOps, KillValueAndValueExists) {
    reg.WriteString(key("k"), "v", "x");
    reg.WriteBinary(key("k"), "empty", "");
    EXPECT_TRUE(reg.ValueExists(key("k"), "V"));
    EXPECT_TRUE(reg.ValueExists(key("k"), "empty"));
    EXPECT_NE(reg.KillValue(key("k"), "v"), 0);
    EXPECT_FALSE(reg.ValueExists(key("k"), "v"));
    EXPECT_NE(reg.KillValue(key("k"), "v"), 0);
}

TEST_F(KeyValueOps, ABinaryValueTooLongForHexTextOverflows) {
    reg.CreateKey(key("big"));
    EXPECT_THROW(reg.WriteBinary(key("big"), "b", std::string(32768, 'a')), std::overflow_error);
    set_raw("big", "b", reg::type_binary, std::string(32768, 'x'));
    EXPECT_THROW(reg.ReadBinary(key("big"), "b", "default"), std::overflow_error);
    set_raw("big", "b", reg::type_binary, std::string(32767, 'x'));
    EXPECT_EQ(reg.ReadBinary(key("big"), "b", "default").size(), 3u * 32767 - 1);
}

struct EnumCase {
    std::int32_t only_type;
    std::vector<std::string> names;
    std::vector<RegValue> values;
};

TEST_F(KeyValueOps, EnumValuesListsEachTypeOrAll) {
    const std::string long_name(300, 'n');
    const std::string path = key("enum");
    reg.WriteDWORD(path, "one", 1);
    reg.WriteDWORD(path, "two", 2);
    reg.WriteString(path, "text", "hello");
    reg.WriteString(path, "@", "default");
    reg.WriteBinary(path, "bin", "0a 0B");
    set_raw("enum", "expand", reg::type_expand_sz, std::string("%x%\0", 4));
    set_raw("enum", " spaced ", reg::type_sz, std::string("s\0", 2));
    std::string bytes300;
    for (int i = 0; i < 300; ++i)
        bytes300 += static_cast<char>(i);
    set_raw("enum", "long", reg::type_binary, bytes300);
    set_raw("enum", long_name, reg::type_dword, std::string("\x09\0\0\0", 4));
    const std::string hex300 = reg.BinToStr(bytes300).substr(1);

    const EnumCase cases[] = {
        {-1,
         {"", "spaced", "bin", "expand", "long", long_name, "one", "text", "two"},
         {std::string("default"), std::string("s"), std::string("0A 0B"), RegValue{}, hex300, 9, 1,
          std::string("hello"), 2}},
        {reg::type_dword, {long_name, "one", "two"}, {9, 1, 2}},
        {reg::type_sz,
         {"", "spaced", "text"},
         {std::string("default"), std::string("s"), std::string("hello")}},
        {reg::type_binary, {"bin", "long"}, {std::string("0A 0B"), hex300}},
        {reg::type_multi_sz, {}, {}},
    };
    for (const EnumCase& c : cases) {
        SCOPED_TRACE(c.only_type);
        std::vector<std::string> names = {"stale"};
        std::vector<RegValue> values = {RegValue{}};
        EXPECT_EQ(reg.EnumValues(path, names, values, c.only_type),
                  static_cast<std::int32_t>(c.names.size()));
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(values, c.values);
    }
}

TEST_F(KeyValueOps, AnyTextIsHandledWithoutRaising) {
    const std::string texts[] = {"",
                                 "\\",
                                 "HKCU\\\\",
                                 "HKCU\\" + std::string(300, 'x'),
                                 "HKCU\\Software\\" + std::string(1000, 'y'),
                                 std::string(5000, '\\'),
                                 "HKCU\\a\0b",
                                 "\xff\xfe\\\x01"};
    for (const std::string& path : texts) {
        std::vector<std::string> names;
        std::vector<RegValue> values;
        EXPECT_NO_THROW({
            reg.KeyExists(path);
            reg.ReadString(path, path, "d");
            reg.ReadBinary(path, path, "d");
            reg.ValueExists(path, path);
            reg.EnumKeys(path, names);
            reg.EnumValues(path, names, values, -1);
            reg.HaveSubkey(path);
        });
    }
}

TEST_F(KeyValueOps, AReadOnlyKeyCountsAsAbsentButReads) {
    reg.WriteString(key("ro"), "v", "x");
    if (!test::set_read_only(tp, reg::current_user, scratch.sub_key() + "\\ro", true))
        GTEST_SKIP() << "needs a key whose security allows only reading";
    EXPECT_FALSE(reg.KeyExists(key("ro")));
    EXPECT_EQ(reg.ReadString(key("ro"), "v", "default"), "x");
    EXPECT_TRUE(reg.ValueExists(key("ro"), "v"));
    EXPECT_EQ(reg.WriteString(key("ro"), "v", "y"), 0);
    EXPECT_EQ(reg.KillValue(key("ro"), "v"), 0);
    EXPECT_EQ(reg.KillKey(key("ro")), 0);
    std::vector<std::string> names;
    std::vector<RegValue> values;
    EXPECT_EQ(reg.EnumValues(key("ro"), names, values, -1), 1);
    EXPECT_EQ(values, std::vector<RegValue>{std::string("x")});
    test::set_read_only(tp, reg::current_user, scratch.sub_key() + "\\ro", false);
}

// Each way of opening a key replaces the key held only once the new one is open: one
// the registry refuses leaves the old key held and usable. Opening below the held key's
// own handle then works, and closes the old key.
TEST_F(KeyValueOps, AKeyHeldIsReplacedOnlyByOneThatOpened) {
    reg.WriteString(key("held"), "v", "kept");
    test::HookedRegistry refusing(api, [](const test::HookedRegistry::Call& call) {
        return call.sub_key == "refused" ? std::optional<long>(reg::access_denied)
                                         : std::optional<long>();
    });
    const std::pair<const char*, std::function<Status(RegKey&, reg_key)>> attempts[] = {
        {"open",
         [](RegKey& k, reg_key parent) { return k.open(parent, "refused", reg::key_read); }},
        {"open_link",
         [](RegKey& k, reg_key parent) { return k.open_link(parent, "refused", reg::key_read); }},
        {"open_default",
         [](RegKey& k, reg_key parent) { return k.open_default(parent, "refused"); }},
        {"create", [](RegKey& k, reg_key parent) { return k.create(parent, "refused"); }},
    };
    for (const auto& [what, attempt] : attempts) {
        SCOPED_TRACE(what);
        RegKey held(refusing);
        ASSERT_EQ(held.open(reg::current_user, scratch.sub_key() + "\\held", reg::key_read),
                  reg::success);
        const reg_key before = held.handle();
        EXPECT_EQ(attempt(held, before), reg::access_denied);
        EXPECT_EQ(held.handle(), before);
        RegValueEntry value;
        EXPECT_EQ(held.read_value("v", value), reg::success);
        ASSERT_EQ(held.open_default(before, ""), reg::success);
        ASSERT_EQ(held.create(before, "child"), reg::success);
        EXPECT_EQ(refusing.open_handles(), 1u);
    }
    EXPECT_EQ(refusing.open_handles(), 0u);
}

// A path of many short levels, longer than the registry takes in one call, is walked once
// from the top: the texts sent grow with the path, not with its square.
TEST_F(KeyValueOps, AManyLevelPathIsWalkedOnceFromTheTop) {
    std::size_t characters_sent = 0;
    test::HookedRegistry counting(api, [&](const test::HookedRegistry::Call& call) {
        if (call.operation == "open_key" || call.operation == "create_key")
            characters_sent += call.sub_key.size();
        return std::optional<long>();
    });
    std::string path = scratch.sub_key();
    for (int level = 0; level < 300; ++level)
        path += "\\k";

    RegKey made(counting);
    ASSERT_EQ(made.create(reg::current_user, path + "\\"), reg::success);
    ASSERT_EQ(made.set_string("v", "deep"), reg::success);
    EXPECT_LE(characters_sent, 3 * path.size());
    characters_sent = 0;
    RegKey read(counting);
    ASSERT_EQ(read.open(reg::current_user, path, reg::key_read), reg::success);
    EXPECT_LE(characters_sent, 3 * path.size());
    RegValueEntry value;
    ASSERT_EQ(read.read_value("v", value), reg::success);
    EXPECT_EQ(value.data, std::string("deep", 5));
}

}  // namespace
}  // namespace tarnwell
