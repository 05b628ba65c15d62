#pragma once
// A registry access object inside a scratch key, scratch file names, and a reader that
// lists everything below the scratch key straight through the registry calls, so that
// the REGEDIT4 tests check the export and import against an independent view.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "common/little_endian.h"
#include "platform/system_platform.h"
#include "registry_access/clsRegistryAccess.h"
#include "support/file_test_support.h"
#include "support/registry_test_support.h"
#include "support/scratch_key.h"

#if !defined(_WIN32)
#include "platform/host/host_platform.h"
#endif

namespace tarnwell::test {

struct StoredValue {
    std::uint32_t type = 0;
    std::string data;  // the stored bytes
    bool operator==(const StoredValue& other) const {
        return type == other.type && data == other.data;
    }
};

// Key path below the listed key ("" for the key itself) -> value name -> value.
using RegTree = std::map<std::string, std::map<std::string, StoredValue>>;

// Lists the key sub_key below parent and everything below it into `tree`, each subkey
// opened below its parent so that keys of any depth are reached.
inline void read_tree(RegistryApi& api, reg_key parent, const std::string& sub_key,
                      const std::string& relative, RegTree& tree) {
    reg_key key = 0;
    if (api.open_key(parent, sub_key.c_str(), reg::key_read, &key) != reg::success) return;
    auto& values = tree[relative];
    std::vector<std::string> names;
    std::vector<char> name(16384);
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t size = static_cast<std::uint32_t>(name.size());
        if (api.enum_value(key, i, name.data(), &size, nullptr, nullptr, nullptr) != reg::success)
            break;
        names.emplace_back(name.data(), size);
    }
    for (const std::string& value_name : names) {
        StoredValue value;
        std::uint32_t size = 0;
        EXPECT_EQ(api.query_value(key, value_name.c_str(), &value.type, nullptr, &size),
                  reg::success);
        std::vector<std::uint8_t> data(size + 1u);
        EXPECT_EQ(api.query_value(key, value_name.c_str(), &value.type, data.data(), &size),
                  reg::success);
        value.data.assign(reinterpret_cast<const char*>(data.data()), size);
        values[value_name] = value;
    }
    std::vector<std::string> children;
    for (std::uint32_t i = 0;; ++i) {
        char child[1024];  // 255 UTF-16 units, each at most 3 bytes of UTF-8
        std::uint32_t size = sizeof child;
        if (api.enum_subkey(key, i, child, &size) != reg::success) break;
        children.emplace_back(child, size);
    }
    for (const std::string& child : children)
        read_tree(api, key, child, relative.empty() ? child : relative + "\\" + child, tree);
    EXPECT_EQ(api.close_key(key), reg::success);
}

// The text with every `from` in it replaced by `to`.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// One line per key ("key") and per value ("key|name|type|data"): texts without their
// NUL, binaries as hex pairs, numbers in decimal.
inline std::vector<std::string> describe(const RegTree& tree) {
    std::vector<std::string> lines;
    for (const auto& [key, values] : tree) {
        lines.push_back(key);
        for (const auto& [name, value] : values) {
            std::string data;
            if (value.type == reg::type_sz) {
                data = value.data;
                if (!data.empty() && data.back() == '\0') data.pop_back();
                data = "sz:" + data;
            } else if (value.type == reg::type_dword && value.data.size() == 4) {
                data = "dword:" + std::to_string(read_i32_le(value.data.data()));
            } else {
                data = (value.type == reg::type_binary ? "bin:"
                                                       : "type" + std::to_string(value.type) + ":");
                char pair[4];
                for (std::size_t i = 0; i < value.data.size(); ++i) {
                    std::snprintf(pair, sizeof pair, i == 0 ? "%02X" : " %02X",
                                  static_cast<unsigned>(static_cast<unsigned char>(value.data[i])));
                    data += pair;
                }
            }
            lines.push_back(key + "|" + name + "|" + data);
        }
    }
    return lines;
}

class RegFileTest : public ::testing::Test {
protected:
    SystemPlatform test_platform;
    Platform& platform = test_platform.platform();
    ScratchKey scratch{platform.registry};
    clsRegistryAccess registry{platform.registry, platform.files, platform.desktop};
    // The scratch key with the long root name, as the export writes it.
    std::string long_path = "HKEY_CURRENT_USER\\" + scratch.sub_key();

    void TearDown() override {
        for (const std::string& file : files_made_)
            std::remove(file.c_str());
#if !defined(_WIN32)
        // Every key an operation opened was closed again.
        EXPECT_EQ(twin_of(test_platform)->registry.open_handles(), 0u);
#endif
    }

    // A file name nobody uses yet, in a folder that exists; removed after the test.
    std::string scratch_file(const std::string& name) {
        static std::atomic<int> counter{0};
#if defined(_WIN32)
        const char* temp = std::getenv("TEMP");
        const std::string folder = temp != nullptr ? temp : "C:\\windows\\temp";
#else
        const std::string folder = "C:\\temp";
        twin_of(test_platform)->files.make_folder(folder);
#endif
        const std::string path = folder + "\\" + scratch.sub_key().substr(9) + "-" +
                                 std::to_string(counter++) + "-" + name;
#if defined(_WIN32)
        files_made_.push_back(path);
#endif
        return path;
    }

    RegTree tree() {
        RegTree result;
        read_tree(platform.registry, reg::current_user, scratch.sub_key(), "", result);
        return result;
    }

    // The key below the scratch key ("" for the scratch key itself).
    std::string below(const std::string& key) const {
        return key.empty() ? scratch.sub_key() : scratch.sub_key() + "\\" + key;
    }
    // Creates the key (below the scratch key) and sets one value on it.
    void put(const std::string& key, const std::string& name, std::uint32_t type,
             const std::string& data) {
        put_value(platform.registry, reg::current_user, below(key), name, type, data);
    }
    void put_text(const std::string& key, const std::string& name, const std::string& text) {
        test::put_text(platform.registry, reg::current_user, below(key), name, text);
    }
    void put_number(const std::string& key, const std::string& name, std::int32_t number) {
        test::put_number(platform.registry, reg::current_user, below(key), name, number);
    }
    void make_key(const std::string& key) {
        test::make_key(platform.registry, reg::current_user, below(key));
    }
    // Removes the scratch key with everything below it, for the next case of a table.
    void clear() { delete_tree(platform.registry, reg::current_user, scratch.sub_key()); }

private:
    std::vector<std::string> files_made_;
};

}  // namespace tarnwell::test
