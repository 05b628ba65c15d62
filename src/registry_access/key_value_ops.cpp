// The key and value operations of clsRegistryAccess: each parses its path, does its work
// through a RegKey (which closes the key on every path out) and turns the registry's
// status into the member's result.
#include "common/little_endian.h"
#include "common/text.h"
#include "registry/fixed_size_reads.h"
#include "registry/reg_key.h"
#include "registry/value_writes.h"
#include "registry_access/clsRegistryAccess.h"

namespace tarnwell {

namespace {

// WriteString's name "@" is the key's default value; the other members take "@" as an
// ordinary name.
std::string text_value_name(const std::string& name) { return name == "@" ? std::string() : name; }

}  // namespace

std::int32_t clsRegistryAccess::closed_handle_value(RegKey& key) {
    const reg_key handle = key.handle();
    key.close();
    return static_cast<std::int32_t>(handle);
}

std::int32_t clsRegistryAccess::CreateKey(const std::string& sPath) {
    const KeyPath path = class_key_path(sPath);
    RegKey key(api_);
    if (key.create(path.root, path.sub_key) != reg::success) return 0;
    return closed_handle_value(key);
}

std::int32_t clsRegistryAccess::KillKey(const std::string& sPath) {
    const KeyPath path = class_key_path(sPath);
    RegKey key(api_);
    if (key.open(path.root, path.sub_key, reg::key_all_access) != reg::success) return 0;
    // Windows refuses a key that still has subkeys; the result says only that the key
    // could be opened.
    (void)key.delete_key("");
    return closed_handle_value(key);
}

bool clsRegistryAccess::KeyExists(const std::string& sPath) {
    const KeyPath path = class_key_path(sPath);
    return open_with_full_access(api_, path.root, path.sub_key).ok();
}

std::int32_t clsRegistryAccess::EnumKeys(const std::string& sPath, std::vector<std::string>& Key) {
    Key.clear();
    const KeyPath path = class_key_path(sPath);
    RegKey key(api_);
    if (key.open_default(path.root, path.sub_key) != reg::success) return -1;
    // Any failure other than the end of the list is a failure of the key itself, which
    // every further index would repeat.
    std::string name;
    for (std::uint32_t index = 0; key.enum_subkey(index, name) == reg::success; ++index)
        Key.push_back(name);
    return static_cast<std::int32_t>(Key.size());
}

bool clsRegistryAccess::HaveSubkey(const std::string& sPath) {
    const KeyPath path = class_key_path(sPath);
    RegKey key(api_);
    if (key.open_default(path.root, path.sub_key) != reg::success) return false;
    // Anything but the end of the list counts: an error reading the first name too.
    std::string name;
    return key.enum_subkey(0, name) != reg::no_more_items;
}

std::int32_t clsRegistryAccess::WriteString(const std::string& sPath, const std::string& sName,
                                            const std::string& sValue) {
    RegKey key(api_);
    if (open_for_writing(class_key_path(sPath), CreateKeyIfDoesntExists_, key) != reg::success)
        return 0;
    if (key.set_string(text_value_name(sName), sValue) != reg::success) return 0;
    return closed_handle_value(key);
}

std::string clsRegistryAccess::ReadString(const std::string& sPath, const std::string& sName,
                                          const std::string& sDefault) {
    const KeyPath path = class_key_path(sPath);
    // A text that does not fit the fixed buffer with its NUL fails the read.
    return read_fixed_size_text(api_, path.root, path.sub_key, sName).value_or(sDefault);
}

std::int32_t clsRegistryAccess::WriteDWORD(const std::string& sPath, const std::string& sName,
                                           std::int32_t lValue) {
    RegKey key(api_);
    if (open_for_writing(class_key_path(sPath), CreateKeyIfDoesntExists_, key) != reg::success)
        return 0;
    if (key.set_dword(sName, static_cast<std::uint32_t>(lValue)) != reg::success) return 0;
    return closed_handle_value(key);
}

std::int32_t clsRegistryAccess::ReadDWORD(const std::string& sPath, const std::string& sName,
                                          std::int32_t lDefault) {
    const KeyPath path = class_key_path(sPath);
    RegKey key(api_);
    if (key.open(path.root, path.sub_key, reg::key_read) != reg::success) return lDefault;
    // The stored type is not checked; a value longer than four bytes fails the query.
    char bytes[4] = {};
    std::uint32_t size = sizeof bytes;
    if (key.query_value(sName, nullptr, reinterpret_cast<std::uint8_t*>(bytes), &size) !=
        reg::success)
        return lDefault;
    return read_i32_le(bytes);
}

std::int32_t clsRegistryAccess::WriteBinary(const std::string& sPath, const std::string& sName,
                                            const std::string& sValue) {
    RegKey key(api_);
    if (open_for_writing(class_key_path(sPath), CreateKeyIfDoesntExists_, key) != reg::success)
        return 0;
    std::string hex = sValue;
    if (key.set_binary(sName, StrToBin(hex)) != reg::success) return 0;
    return closed_handle_value(key);
}

std::string clsRegistryAccess::ReadBinary(const std::string& sPath, const std::string& sName,
                                          const std::string& sDefault) {
    const KeyPath path = class_key_path(sPath);
    RegKey key(api_);
    if (key.open(path.root, path.sub_key, reg::key_read) != reg::success) return sDefault;
    RegValueEntry value;
    if (key.read_value(sName, value) != reg::success) return sDefault;
    return trim_spaces(BinToStr(value.data));
}

std::int32_t clsRegistryAccess::KillValue(const std::string& sPath, const std::string& sName) {
    const KeyPath path = class_key_path(sPath);
    RegKey key(api_);
    if (key.open(path.root, path.sub_key, reg::key_write) != reg::success) return 0;
    (void)key.delete_value(sName);  // the result says only that the key could be opened
    return closed_handle_value(key);
}

bool clsRegistryAccess::ValueExists(const std::string& sPath, const std::string& sName) {
    const KeyPath path = class_key_path(sPath);
    RegKey key(api_);
    if (key.open(path.root, path.sub_key, reg::key_read) != reg::success) return false;
    std::uint32_t type = 0, size = 1;
    return key.query_value(sName, &type, nullptr, &size) == reg::success;
}

std::int32_t clsRegistryAccess::EnumValues(const std::string& sPath,
                                           std::vector<std::string>& sName,
                                           std::vector<RegValue>& sValue, std::int32_t OnlyType) {
    const KeyPath path = class_key_path(sPath);
    RegKey listed(api_);
    if (listed.open_default(path.root, path.sub_key) != reg::success) return -1;
    sName.clear();
    sValue.clear();
    // Any failure other than the end of the list is a failure of the key itself, which
    // every further index would repeat.
    RegValueEntry value;
    for (std::uint32_t index = 0; listed.enum_value(index, value) == reg::success; ++index) {
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
