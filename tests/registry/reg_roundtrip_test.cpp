// Random key trees exported, deleted, imported again and compared with what was stored.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <set>

#include "registry/reg_file_fixture.h"

namespace tarnwell::test {
namespace {

class TreeMaker {
public:
    explicit TreeMaker(unsigned seed) : random_(seed) {}

    // A tree of up to three levels below the scratch key; every key holds a value,
    // since the import makes keys only through the values it writes.
    RegTree make() {
        RegTree tree;
        add_key(tree, "", 0);
        return tree;
    }

private:
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // Printable text with a bias towards the characters that the file format must carry
    // through: spaces, backslashes, "=", double quotes, brackets and ";".
    std::string text(int max_length, bool backslash_allowed) {
        static const std::string tricky = " \\=\"[];@-";
        std::string result;
        const int length = number(0, max_length);
        while (static_cast<int>(result.size()) < length) {
            char c = number(0, 3) == 0 ? tricky[static_cast<std::size_t>(number(0, 8))]
                                       : static_cast<char>(number(0x20, 0x7E));
            if (c == '\\' && !backslash_allowed) c = '/';
            result += c;
        }
        return result;
    }

    static std::string folded(const std::string& name) {
        std::string lower = name;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower;
    }

    // A value name the format can carry: no "\"=" inside and no double quote at the end,
    // where it could not be told from the closing quote.
    std::string value_name(std::set<std::string>& used) {
        for (;;) {
            std::string name = text(16, true);
            if (name.find("\"=") != std::string::npos) continue;
            if (!name.empty() && name.back() == '"') continue;
            if (used.insert(folded(name)).second) return name;
        }
    }

    void add_key(RegTree& tree, const std::string& key, int depth) {
        auto& values = tree[key];
        std::set<std::string> used;
        const int count = number(1, 5);
        for (int i = 0; i < count; ++i) {
            std::string name = value_name(used);
            StoredValue value;
            switch (number(0, 2)) {
            case 0:
                // "@" as a text name means the default value, and an empty default text
                // is not exported.
                value.type = reg::type_sz;
                value.data = text(number(0, 3) == 0 ? 400 : 40, true);
                if (name == "@" || (name.empty() && value.data.empty())) value.data = "t";
                if (name == "@") name = "";
                value.data += '\0';
                break;
            case 1: {
                value.type = reg::type_binary;
                const int length = number(0, 3) == 0 ? number(256, 1024) : number(0, 40);
                for (int b = 0; b < length; ++b) value.data += static_cast<char>(number(0, 255));
                break;
            }
            default: {
                value.type = reg::type_dword;
                value.data = u32_le_bytes(static_cast<std::uint32_t>(
                    std::uniform_int_distribution<std::int64_t>(INT32_MIN, INT32_MAX)(random_)));
            }
            }
            values[name] = value;
        }
        if (depth == 3) return;
        std::set<std::string> children;
        const int subkeys = number(depth == 0 ? 2 : 0, depth == 0 ? 4 : 3);
        for (int i = 0; i < subkeys; ++i) {
            std::string child = text(10, false);
            if (child.empty() || !children.insert(folded(child)).second) continue;
            add_key(tree, key.empty() ? child : key + "\\" + child, depth + 1);
        }
    }

    std::mt19937 random_;
};

class RoundTrip : public RegFileTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(RoundTrip, ExportedTreeComesBackIdentical) {
    const RegTree model = TreeMaker(GetParam()).make();
    ASSERT_GT(model.size(), 2u);
    for (const auto& [key, values] : model) {
        for (const auto& [name, value] : values) put(key, name, value.type, value.data);
    }
    ASSERT_EQ(describe(tree()), describe(model));

    const std::string file = scratch_file("roundtrip.reg");
    ASSERT_EQ(registry.ExportToReg(scratch.path(), file, true), 1);
    test::delete_tree(platform.registry, reg::current_user, scratch.sub_key());
    ASSERT_TRUE(tree().empty());
    ASSERT_EQ(registry.ImportFromReg(file), 1);
    EXPECT_EQ(describe(tree()), describe(model)) << platform.files.read_file(file);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTrip, ::testing::Range(1u, 9u));

// Binary values longer than the public hex text conversions take (16,383 bytes) come
// back whole, and so does everything the file holds after them.
TEST_F(RegFileTest, BinaryValuesOfAnyLengthComeBack) {
    RegTree model;
    model[""];
    std::string bytes;
    for (int i = 0; i < 40000; ++i) bytes += static_cast<char>(i * 13 + i / 256);
    for (std::size_t length : {16383u, 16384u, 40000u}) {
        const std::string key = "b" + std::to_string(length);
        model[key]["bin"] = {reg::type_binary, bytes.substr(0, length)};
        model[key]["later"] = {reg::type_dword, std::string("\x01\x02\x03\x04", 4)};
    }
    model["z"]["last"] = {reg::type_sz, std::string("t\0", 2)};
    for (const auto& [key, values] : model) {
        for (const auto& [name, value] : values) put(key, name, value.type, value.data);
    }
    ASSERT_TRUE(tree() == model);

    const std::string file = scratch_file("long-binary.reg");
    ASSERT_EQ(registry.ExportToReg(scratch.path(), file, true), 1);
    test::delete_tree(platform.registry, reg::current_user, scratch.sub_key());
    EXPECT_EQ(registry.ImportFromReg(file), 1);
    // Compared whole; the values are too long to be worth printing.
    const RegTree imported = tree();
    EXPECT_TRUE(imported == model) << imported.size() << " of " << model.size() << " keys";
}

}  // namespace
}  // namespace tarnwell::test
