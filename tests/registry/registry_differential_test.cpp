// A long random sequence of registry work (fixed seed) through clsRegistryAccess and
// the raw registry calls, inside a scratch key. Each step's result goes to a log, one
// line per step, with nothing in it that differs between platforms (no handle values,
// no scratch key name). scripts/registry-differential.sh runs this on the host twin
// and under Wine against the real registry and compares the two logs step by step.
//   TARNWELL_REGISTRY_STEP_LOG  file to write the log to (none: the log is discarded)
//   TARNWELL_REGISTRY_SEED      another seed, to explore (default: the fixed one)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include <stdexcept>
#include "platform/system_platform.h"
#include "registry/twin_registry.h"
#include "registry_access/clsRegistryAccess.h"
#include "support/scratch_key.h"

namespace tarnwell {
namespace {

std::uint32_t seed() {
    const char* chosen = std::getenv("TARNWELL_REGISTRY_SEED");
    return chosen ? static_cast<std::uint32_t>(std::strtoul(chosen, nullptr, 10)) : 20261208u;
}
constexpr int steps = 3000;

// Texts in the log: short ones escaped, long ones by length and hash.
std::string show(const std::string& text) {
    if (text.size() > 48) {
        std::uint32_t hash = 2166136261u;
        for (char c : text)
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "<%zu:%08x>", text.size(), hash);
        return buffer;
    }
    std::string shown = "\"";
    for (char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code > 126 || c == '"' || c == '\\') {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", code);
            shown += buffer;
        } else {
            shown += c;
        }
    }
    return shown + "\"";
}

std::string show(const RegValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return show(*text);
    if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
    return "empty";
}

class Sequence {
public:
    Sequence(SystemPlatform& tp, const test::ScratchKey& scratch)
        : api_(tp.platform().registry),
          scratch_(scratch),
          reg_(api_, tp.platform().files, tp.platform().desktop),
          random_(seed()) {}

    void run(std::ostream& log) {
        for (int step = 0; step < steps; ++step) {
            std::ostringstream line;
            try {
                one_step(line);
            } catch (const std::overflow_error& e) {
                line << " raised " << show(std::string(e.what()));
            }
            log << step << ' ' << line.str() << '\n';
        }
    }

private:
    std::uint32_t next(std::uint32_t n) { return static_cast<std::uint32_t>(random_()) % n; }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[next(N)];
    }

    // A key below the scratch key: a few names, in varying letter case, up to 3 deep.
    std::string relative_key() {
        static const char* const names[] = {"a", "A", "b", "Key", "KEY", "x y", "deep", "Z_"};
        std::string path;
        const std::uint32_t depth = next(4);
        for (std::uint32_t i = 0; i < depth; ++i)
            path += std::string("\\") + pick(names);
        if (next(40) == 0) path += "\\" + std::string(257, 'k');
        return path;
    }
    std::string key_path(const std::string& relative) {
        static const char* const roots[] = {
            "HKCU\\", "hkcu\\",  "HKEY_CURRENT_USER\\", "\\HKEY_CURRENT_USER\\",
            "HKXX\\", "\\HKCU\\"};
        const char* root = next(10) == 0 ? pick(roots) : "HKCU\\";
        return root + scratch_.sub_key() + relative;
    }
    std::string value_name() {
        static const char* const names[] = {"", "@", "v", "V", "name", "Name", " sp ", "n2"};
        if (next(50) == 0) return std::string(300, 'n');
        return pick(names);
    }
    std::string text() {
        static const std::uint32_t lengths[] = {0, 1, 3, 10, 40, 254, 255, 300};
        const std::uint32_t length = next(3) == 0 ? pick(lengths) : next(20);
        std::string result;
        for (std::uint32_t i = 0; i < length; ++i)
            result += next(100) == 0 ? '\0' : static_cast<char>(' ' + next(95));
        return result;
    }
    std::string hex() {
        static const char digits[] = "0123456789abcdefABCDEF   G-";
        const std::uint32_t length = next(8) == 0 ? 600 : next(30);
        std::string result;
        for (std::uint32_t i = 0; i < length; ++i)
            result += digits[next(sizeof digits - 1)];
        return result;
    }

    void one_step(std::ostream& line) {
        const std::string rel = relative_key();
        const std::string path = key_path(rel);
        line << show(rel) << ' ';
        switch (next(24)) {
        case 0:
        case 1:
            line << "CreateKey " << (reg_.CreateKey(path) != 0);
            break;
        case 2:
            line << "KillKey " << (reg_.KillKey(path) != 0);
            break;
        case 3:
            line << "KeyExists " << reg_.KeyExists(path);
            break;
        case 4:
            line << "HaveSubkey " << reg_.HaveSubkey(path);
            break;
        case 5: {
            std::vector<std::string> keys;
            line << "EnumKeys " << reg_.EnumKeys(path, keys);
            for (const std::string& k : keys)
                line << ' ' << show(k);
            break;
        }
        case 6:
        case 7: {
            const std::string name = value_name(), value = text();
            line << "WriteString " << show(name) << ' ' << show(value) << ' '
                 << (reg_.WriteString(path, name, value) != 0);
            break;
        }
        case 8:
        case 9: {
            const std::string name = value_name();
            line << "ReadString " << show(name) << ' ' << show(reg_.ReadString(path, name, "d"));
            break;
        }
        case 10: {
            const std::string name = value_name();
            const auto value = static_cast<std::int32_t>(random_());
            line << "WriteDWORD " << show(name) << ' ' << value << ' '
                 << (reg_.WriteDWORD(path, name, value) != 0);
            break;
        }
        case 11: {
            const std::string name = value_name();
            line << "ReadDWORD " << show(name) << ' ' << reg_.ReadDWORD(path, name, -7);
            break;
        }
        case 12: {
            const std::string name = value_name(), value = hex();
            line << "WriteBinary " << show(name) << ' ' << show(value) << ' '
                 << (reg_.WriteBinary(path, name, value) != 0);
            break;
        }
        case 13: {
            const std::string name = value_name();
            line << "ReadBinary " << show(name) << ' ' << show(reg_.ReadBinary(path, name, "d"));
            break;
        }
        case 14: {
            const std::string name = value_name();
            line << "KillValue " << show(name) << ' ' << (reg_.KillValue(path, name) != 0);
            break;
        }
        case 15: {
            const std::string name = value_name();
            line << "ValueExists " << show(name) << ' ' << reg_.ValueExists(path, name);
            break;
        }
        case 16: {
            static const std::int32_t types[] = {-1, -1, 1, 3, 4, 7};
            const std::int32_t type = pick(types);
            std::vector<std::string> names;
            std::vector<RegValue> values;
            line << "EnumValues " << type << ' ' << reg_.EnumValues(path, names, values, type);
            for (std::size_t i = 0; i < names.size(); ++i)
                line << ' ' << show(names[i]) << '=' << show(values[i]);
            break;
        }
        case 17: {
            const bool create = next(4) != 0;
            reg_.set_CreateKeyIfDoesntExists(create);
            line << "CreateKeyIfDoesntExists " << create;
            break;
        }
        default:
            raw_step(rel, line);
            break;
        }
    }

    // The registry calls themselves, with buffers of every size and every value type.
    void raw_step(const std::string& rel, std::ostream& line) {
        static const std::uint32_t access[] = {reg::key_read, reg::key_write, reg::key_all_access};
        const std::string sub = scratch_.sub_key() + rel;
        reg_key key = 0;
        const std::uint32_t wanted = pick(access);
        const Status opened = api_.open_key(reg::current_user, sub.c_str(), wanted, &key);
        line << "raw open " << std::hex << wanted << std::dec << ' ' << opened.code();
        if (opened != reg::success) return;
        static const std::uint32_t sizes[] = {0, 1, 2, 4, 5, 10, 255, 400};
        switch (next(6)) {
        case 0: {
            static const std::uint32_t types[] = {0, 1, 2, 3, 4, 7, 11};
            const std::uint32_t type = pick(types);
            const std::string name = value_name(), data = text();
            // One byte past the data that is not a NUL: Windows would count a NUL
            // standing there as part of a text.
            std::string buffer = data + 'X';
            line << " set " << type << ' ' << show(name) << ' ' << show(data) << ' '
                 << api_.set_value(key, name.c_str(), type,
                                   reinterpret_cast<const std::uint8_t*>(buffer.data()),
                                   static_cast<std::uint32_t>(data.size()))
                        .code();
            break;
        }
        case 1: {
            const std::string name = value_name();
            const std::uint32_t size_in = pick(sizes);
            const bool with_data = next(4) != 0;
            std::string data(400, '#');
            std::uint32_t size = size_in, type = 99;
            const Status status = api_.query_value(
                key, name.c_str(), &type,
                with_data ? reinterpret_cast<std::uint8_t*>(data.data()) : nullptr, &size);
            line << " query " << show(name) << ' ' << size_in << ' ' << with_data << ' '
                 << status.code() << ' ' << size << ' ' << type << ' ' << show(data);
            break;
        }
        case 2: {
            const std::uint32_t index = next(8), name_in = pick(sizes), data_in = pick(sizes);
            std::string name(400, '#'), data(400, '#');
            std::uint32_t name_size = name_in, data_size = data_in, type = 99;
            const Status status =
                api_.enum_value(key, index, name.data(), &name_size, &type,
                                reinterpret_cast<std::uint8_t*>(data.data()), &data_size);
            line << " enum value " << index << ' ' << name_in << ' ' << data_in << ' '
                 << status.code() << ' ' << name_size << ' ' << data_size << ' ' << type << ' '
                 << show(name) << ' ' << show(data);
            break;
        }
        case 3: {
            const std::uint32_t index = next(5), name_in = pick(sizes);
            std::string name(400, '#');
            std::uint32_t name_size = name_in;
            const Status status = api_.enum_subkey(key, index, name.data(), &name_size);
            line << " enum key " << index << ' ' << name_in << ' ' << status.code() << ' '
                 << name_size << ' ' << show(name);
            break;
        }
        case 4: {
            std::uint32_t info[5] = {9, 9, 9, 9, 9};
            line << " info "
                 << api_.query_key_info(key, &info[0], &info[1], &info[2], &info[3], &info[4])
                        .code();
            for (std::uint32_t n : info)
                line << ' ' << n;
            break;
        }
        default:
            line << " delete self " << api_.delete_key(key, "").code();
            break;
        }
        line << (api_.close_key(key).ok() ? "" : " not closed");
    }

    RegistryApi& api_;
    const test::ScratchKey& scratch_;
    clsRegistryAccess reg_;
    std::mt19937 random_;
};

TEST(RegistryDifferential, RandomSequenceLeavesNoKeyOpen) {
    SystemPlatform tp;
    std::ostringstream log;
    {
        RegistryApi& api = tp.platform().registry;
        test::ScratchKey scratch(api);
        reg_key key = 0;
        std::uint32_t keys = 1, values = 1;
        ASSERT_EQ(api.open_key(reg::current_user, scratch.sub_key().c_str(), reg::key_read, &key),
                  reg::success);
        EXPECT_EQ(api.query_key_info(key, &keys, nullptr, &values, nullptr, nullptr), reg::success);
        EXPECT_EQ(api.close_key(key), reg::success);
        ASSERT_EQ(keys + values, 0u) << "the scratch key holds what an earlier run left";
        Sequence(tp, scratch).run(log);
        EXPECT_EQ(test::open_handles(tp), 0u);
    }
    const std::string text = log.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), steps);
    if (const char* file = std::getenv("TARNWELL_REGISTRY_STEP_LOG")) {
        std::ofstream out(file, std::ios::binary);
        out << text;
        ASSERT_TRUE(out.good()) << file;
    }
}

}  // namespace
}  // namespace tarnwell
