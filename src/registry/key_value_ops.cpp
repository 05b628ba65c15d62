// The key and value operations of clsRegistryAccess. Each one parses its path, opens
// the key it needs, does its work and closes the key again on every path out;
// registry failures become the operation's failure value.
#include <algorithm>

#include "common/little_endian.h"
#include "common/text.h"
#include "registry/clsRegistryAccess.h"
#include "registry/key_enumeration.h"
#include "registry/key_path.h"

namespace tarnwell {

namespace {

// Registry names and the data of enumerated values and of texts read are prepared
// in buffers of this size.
constexpr std::uint32_t buffer_size = 255;

// Closes an opened key when the operation leaves, however it leaves.
class KeyCloser {
public:
    KeyCloser(RegistryApi& api, reg_key key) : api_(api), key_(key) {}
    ~KeyCloser() { api_.close_key(key_); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    RegistryApi& api_;
    reg_key key_;
};

std::int32_t handle_value(reg_key key) { return static_cast<std::int32_t>(key); }

// The frame's first steps: a copy of the path parsed into `root` and `sub_key` (the
// object's fields), and the key opened with `access` into `key`.
bool open_key(RegistryApi& api, const std::string& sPath, std::uint32_t access, reg_key& root,
              std::string& sub_key, reg_key& key) {
    std::string path = sPath;
    root = parse_key_path(path, sub_key);
    return api.open_key(root, sub_key.c_str(), access, &key) == reg::success;
}

// The writers' preamble: a missing key is created first when the object allows it
// (else nothing is touched), then the key is opened for writing into `key`.
bool open_for_writing(clsRegistryAccess& self, RegistryApi& api, const std::string& sPath,
                      reg_key& root, std::string& sub_key, reg_key& key) {
    if (!self.KeyExists(sPath)) {
        if (!self.CreateKeyIfDoesntExists()) return false;
        self.CreateKey(sPath);
    }
    return open_key(api, sPath, reg::key_write, root, sub_key, key);
}

}  // namespace

std::int32_t clsRegistryAccess::CreateKey(const std::string& sPath) {
    std::string path = sPath;
    hRootKey = ParseKeyPath(path, sSubKey);
    if (api_.create_key(hRootKey, sSubKey.c_str(), &hKey) != reg::success) return 0;
    api_.close_key(hKey);
    return handle_value(hKey);
}

std::int32_t clsRegistryAccess::KillKey(const std::string& sPath) {
    if (!open_key(api_, sPath, reg::key_all_access, hRootKey, sSubKey, hKey)) return 0;
    // Windows refuses a key that still has subkeys; the result says only that the key
    // could be opened.
    api_.delete_key(hKey, "");
    api_.close_key(hKey);
    return handle_value(hKey);
}

bool clsRegistryAccess::KeyExists(const std::string& sPath) {
    if (!open_key(api_, sPath, reg::key_all_access, hRootKey, sSubKey, hKey)) return false;
    api_.close_key(hKey);
    return true;
}

std::int32_t clsRegistryAccess::EnumKeys(const std::string& sPath, std::vector<std::string>& Key) {
    Key.clear();
    std::string path = sPath;
    hRootKey = ParseKeyPath(path, sSubKey);
    if (api_.open_key_default(hRootKey, sSubKey.c_str(), &hKey) != reg::success) return -1;
    KeyCloser closer(api_, hKey);
    KeyEnumerator entries(api_, hKey, buffer_size, buffer_size);
    for (std::uint32_t index = 0;; ++index) {
        std::string name;
        // Any failure is a failure of the key itself, which every further index would
        // repeat.
        if (entries.subkey(index, name) != reg::success) break;
        Key.push_back(std::move(name));
    }
    return static_cast<std::int32_t>(Key.size());
}

bool clsRegistryAccess::HaveSubkey(const std::string& sPath) {
    std::string path = sPath;
    hRootKey = ParseKeyPath(path, sSubKey);
    if (api_.open_key_default(hRootKey, sSubKey.c_str(), &hKey) != reg::success) return false;
    char name[buffer_size];
    std::uint32_t size = buffer_size;
    const long status = api_.enum_subkey(hKey, 0, name, &size);
    api_.close_key(hKey);
    return status != reg::no_more_items;
}

std::int32_t clsRegistryAccess::WriteString(const std::string& sPath, const std::string& sName,
                                            const std::string& sValue) {
    if (!open_for_writing(*this, api_, sPath, hRootKey, sSubKey, hKey)) return 0;
    // "@" names the key's default value here, as in a REGEDIT4 file.
    const std::string name = sName == "@" ? std::string() : sName;
    const long status = api_.set_value(hKey, name.c_str(), reg::type_sz,
                                       reinterpret_cast<const std::uint8_t*>(sValue.c_str()),
                                       static_cast<std::uint32_t>(sValue.size() + 1));
    api_.close_key(hKey);
    return status == reg::success ? handle_value(hKey) : 0;
}

std::string clsRegistryAccess::ReadString(const std::string& sPath, const std::string& sName,
                                          const std::string& sDefault) {
    if (!open_key(api_, sPath, reg::key_read, hRootKey, sSubKey, hKey)) return sDefault;
    std::string buffer(buffer_size, ' ');
    std::uint32_t size = buffer_size;
    const long status = api_.query_value(hKey, sName.c_str(), nullptr,
                                         reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
    api_.close_key(hKey);
    if (status != reg::success) return sDefault;
    // Leading and trailing spaces are the text's own.
    return std::string(without_final_nul(std::string_view(buffer.data(), size)));
}

std::int32_t clsRegistryAccess::WriteDWORD(const std::string& sPath, const std::string& sName,
                                           std::int32_t lValue) {
    if (!open_for_writing(*this, api_, sPath, hRootKey, sSubKey, hKey)) return 0;
    const std::string bytes = u32_le_bytes(static_cast<std::uint32_t>(lValue));
    const long status = api_.set_value(hKey, sName.c_str(), reg::type_dword,
                                       reinterpret_cast<const std::uint8_t*>(bytes.data()), 4);
    api_.close_key(hKey);
    return status == reg::success ? handle_value(hKey) : 0;
}

std::int32_t clsRegistryAccess::ReadDWORD(const std::string& sPath, const std::string& sName,
                                          std::int32_t lDefault) {
    if (!open_key(api_, sPath, reg::key_read, hRootKey, sSubKey, hKey)) return lDefault;
    char bytes[4] = {};
    std::uint32_t size = 4;
    const long status = api_.query_value(hKey, sName.c_str(), nullptr,
                                         reinterpret_cast<std::uint8_t*>(bytes), &size);
    api_.close_key(hKey);
    if (status != reg::success) return lDefault;
    return read_i32_le(bytes);
}

std::int32_t clsRegistryAccess::WriteBinary(const std::string& sPath, const std::string& sName,
                                            const std::string& sValue) {
    if (!open_for_writing(*this, api_, sPath, hRootKey, sSubKey, hKey)) return 0;
    KeyCloser closer(api_, hKey);  // StrToBin may raise an overflow
    std::string hex = sValue;
    const std::string bytes = StrToBin(hex);
    const std::uint8_t none = 0;
    const auto* data = bytes.empty() ? &none : reinterpret_cast<const std::uint8_t*>(bytes.data());
    const long status = api_.set_value(hKey, sName.c_str(), reg::type_binary, data,
                                       static_cast<std::uint32_t>(bytes.size()));
    return status == reg::success ? handle_value(hKey) : 0;
}

std::string clsRegistryAccess::ReadBinary(const std::string& sPath, const std::string& sName,
                                          const std::string& sDefault) {
    if (!open_key(api_, sPath, reg::key_read, hRootKey, sSubKey, hKey)) return sDefault;
    // The first query only learns the stored size.
    std::uint8_t probe = 0;
    std::uint32_t size = 1;
    api_.query_value(hKey, sName.c_str(), nullptr, &probe, &size);
    std::string bytes(std::max<std::uint32_t>(size, 1), '\0');
    const long status = api_.query_value(hKey, sName.c_str(), nullptr,
                                         reinterpret_cast<std::uint8_t*>(bytes.data()), &size);
    api_.close_key(hKey);
    if (status != reg::success) return sDefault;
    bytes.resize(size);
    return trim_spaces(BinToStr(bytes));
}

std::int32_t clsRegistryAccess::KillValue(const std::string& sPath, const std::string& sName) {
    if (!open_key(api_, sPath, reg::key_write, hRootKey, sSubKey, hKey)) return 0;
    api_.delete_value(hKey, sName.c_str());
    api_.close_key(hKey);
    return handle_value(hKey);
}

bool clsRegistryAccess::ValueExists(const std::string& sPath, const std::string& sName) {
    if (!open_key(api_, sPath, reg::key_read, hRootKey, sSubKey, hKey)) return false;
    std::uint32_t type = 0, size = 1;
    const long status = api_.query_value(hKey, sName.c_str(), &type, nullptr, &size);
    api_.close_key(hKey);
    return status == reg::success;
}

std::int32_t clsRegistryAccess::EnumValues(const std::string& sPath,
                                           std::vector<std::string>& sName,
                                           std::vector<RegValue>& sValue, std::int32_t OnlyType) {
    std::string path = sPath;
    hRootKey = ParseKeyPath(path, sSubKey);
    // The nested reads below overwrite hKey: the listed key stays in a local.
    reg_key listed = 0;
    if (api_.open_key_default(hRootKey, sSubKey.c_str(), &listed) != reg::success) return -1;
    KeyCloser closer(api_, listed);
    sName.clear();
    sValue.clear();
    KeyEnumerator entries(api_, listed, buffer_size, buffer_size);
    for (std::uint32_t index = 0;; ++index) {
        RegValueEntry value;
        // Any failure is a failure of the key itself, which every further index would
        // repeat.
        if (entries.value(index, value) != reg::success) break;
        if (OnlyType != -1 && static_cast<std::uint32_t>(OnlyType) != value.type) continue;
        RegValue listed_value;
        switch (value.type) {
        case reg::type_binary:
            listed_value = value.data.empty() ? std::string() : trim_spaces(BinToStr(value.data));
            break;
        case reg::type_dword:
            listed_value = ReadDWORD(sPath, value.name, 0);
            break;
        case reg::type_sz:
            listed_value = ReadString(sPath, value.name, "");
            break;
        default:
            break;
        }
        sName.push_back(trim_spaces(value.name));
        sValue.push_back(std::move(listed_value));
    }
    return static_cast<std::int32_t>(sName.size());
}

}  // namespace tarnwell
