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

    // A tree of up to three levels below the scratch key, with values of every type and
    // keys without values.
    RegTree make() {
        RegTree tree;
        add_key(tree, "", 0);
        return tree;
    }

private:
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // Printable text with a bias towards the characters that the file format must carry
    // through: spaces, backslashes, "=", double quotes, brackets, ";" and "@".
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

    std::string bytes(int length) {
        std::string result;
        for (int b = 0; b < length; ++b)
            result += static_cast<char>(number(0, 255));
        return result;
    }

    static std::string folded(const std::string& name) {
        std::string lower = name;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower;
    }

    std::string value_name(std::set<std::string>& used) {
        for (;;) {
            std::string name = number(0, 9) == 0 ? "@" : text(16, true);
            if (used.insert(folded(name)).second) return name;
        }
    }

    StoredValue value() {
        StoredValue value;
        switch (number(0, 8)) {
        case 0:
        case 1: {
            value.type = reg::type_sz;
            value.data = text(number(0, 3) == 0 ? 400 : 40, true);
            // A line break in a text goes into the file as the text's bytes.
            if (number(0, 5) == 0) value.data.insert(value.data.size() / 2, "\r\n");
            value.data += '\0';
            break;
        }
        case 2:
            value.type = reg::type_binary;
            value.data = bytes(number(0, 3) == 0 ? number(256, 1024) : number(0, 40));
            break;
        case 3:
            value.type = reg::type_dword;
            value.data = bytes(4);
            break;
        case 4: {
            // Numbers of another size than 4 bytes.
            static const int sizes[] = {0, 1, 2, 3, 8};
            value.type = reg::type_dword;
            value.data = bytes(sizes[number(0, 4)]);
            break;
        }
        case 5:
            value.type = reg::type_expand_sz;
            value.data = "%" + text(10, true) + "%" + '\0';
            break;
        case 6:
            value.type = reg::type_multi_sz;
            value.data = text(10, true) + '\0' + text(10, true) + '\0' + '\0';
            break;
        case 7:
            value.type = 11;  // a 64-bit number
            value.data = bytes(8);
            break;
        default:
            value.type = number(0, 1) == 0 ? reg::type_none : 0x12345;
            value.data = bytes(number(0, 4));
            break;
        }
        return value;
    }

    void add_key(RegTree& tree, const std::string& key, int depth) {
        auto& values = tree[key];
        std::set<std::string> used;
        const int count = number(depth == 0 ? 1 : 0, 6);
        for (int i = 0; i < count; ++i)
            values[value_name(used)] = value();
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
        make_key(key);
        for (const auto& [name, value] : values)
            put(key, name, value.type, value.data);
    }
    ASSERT_EQ(describe(tree()), describe(model));

    const std::string file = scratch_file("roundtrip.reg");
    ASSERT_EQ(registry.ExportToReg(scratch.path(), file, true), 1);
    test::delete_tree(platform.registry, reg::current_user, scratch.sub_key());
    ASSERT_TRUE(tree().empty());
    ASSERT_EQ(registry.ImportFromReg(file), 1);
    EXPECT_EQ(describe(tree()), describe(model)) << file_text(platform.files, file);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTrip, ::testing::Range(1u, 17u));

// Binary values longer than the public hex text conversions take (16,383 bytes) come
// back whole, and so does everything the file holds after them.
TEST_F(RegFileTest, BinaryValuesOfAnyLengthComeBack) {
    RegTree model;
    model[""];
    std::string bytes;
    for (int i = 0; i < 40000; ++i)
        bytes += static_cast<char>(i * 13 + i / 256);
    for (std::size_t length : {16383u, 16384u, 40000u}) {
        const std::string key = "b" + std::to_string(length);
        model[key]["bin"] = {reg::type_binary, bytes.substr(0, length)};
        model[key]["later"] = {reg::type_dword, std::string("\x01\x02\x03\x04", 4)};
    }
    model["z"]["last"] = {reg::type_sz, std::string("t\0", 2)};
    for (const auto& [key, values] : model) {
        for (const auto& [name, value] : values)
            put(key, name, value.type, value.data);
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
