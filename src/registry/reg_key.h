#pragma once
// RegKey: one open registry key, owned. It closes itself when it goes out of scope (or
// is moved over), so no path out of a caller can leave a key open. Every call returns
// the registry's own status (reg::success, reg::file_not_found, ...), and outputs are
// left untouched when a call fails. A key path or value name holding a NUL is refused
// with reg::invalid_parameter: the registry would read only the part before it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry_api.h"

namespace tarnwell {

// One value of a key as the registry stores it.
struct RegValueEntry {
    std::string name;
    std::uint32_t type = reg::type_none;
    std::string data;  // the stored bytes, one character per byte
};

// What RegQueryInfoKeyA tells of a key: its counts and the longest entries.
struct RegKeyInfo {
    std::uint32_t subkeys = 0;
    std::uint32_t longest_subkey = 0;  // characters, without the NUL
    std::uint32_t values = 0;
    std::uint32_t longest_value_name = 0;  // characters, without the NUL
    std::uint32_t longest_data = 0;        // bytes
};

class RegKey {
public:
    explicit RegKey(RegistryApi& api) : api_(&api) {}
    ~RegKey() { close(); }
    RegKey(RegKey&& other) noexcept;
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Each of these opens (or creates) sub_key below parent, which may be a predefined
    // root or an open key's handle(), and on success closes the key held before and
    // holds the new one; on failure the key held stays held.
    Status open(reg_key parent, const std::string& sub_key, std::uint32_t access);
    // The same, but a registry link is opened itself, not the key it leads to; any other
    // key opens as with open().
    Status open_link(reg_key parent, const std::string& sub_key, std::uint32_t access);
    // With whatever access the key allows (as RegOpenKey opens). An empty sub_key gives the
    // parent itself back; this object then does not close it.
    Status open_default(reg_key parent, const std::string& sub_key);
    // Opens the key, creating it and any missing keys above it first (RegCreateKeyA).
    Status create(reg_key parent, const std::string& sub_key);
    void close();

    // The handle as the registry gave it out; 0 when none is held.
    reg_key handle() const { return handle_; }

    // True when the key held, opened by open_link(), is a registry link: it holds a
    // SymbolicLinkValue of type REG_LINK.
    bool is_link() const;

    Status query_info(RegKeyInfo& info);

    // One query as the registry answers it: the data into the caller's buffer of *size
    // bytes (or only type and size when data is null).
    Status query_value(const std::string& name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) const;
    // The whole value, however long; grows its buffer and asks again while the value
    // grows in between.
    Status read_value(const std::string& name, RegValueEntry& value) const;

    Status set_value(const std::string& name, std::uint32_t type, const std::string& bytes) const;
    // A text as the registry stores it: its characters and a terminating NUL.
    Status set_string(const std::string& name, const std::string& text) const;
    // Four bytes, least significant first.
    Status set_dword(const std::string& name, std::uint32_t number) const;
    Status set_binary(const std::string& name, const std::string& bytes) const;

    Status delete_value(const std::string& name) const;
    // Deletes sub_key below this key; "" deletes this key itself. Windows refuses a key
    // that has subkeys.
    Status delete_key(const std::string& sub_key) const;

    // Entry `index` of the key's subkeys or values, whole: the buffers start at the
    // longest sizes the key reports and grow when an entry outgrew them meanwhile. They
    // are kept for the next index. reg::no_more_items past the end of the list.
    Status enum_subkey(std::uint32_t index, std::string& name);
    Status enum_value(std::uint32_t index, RegValueEntry& value);

private:
    enum class How { open, open_link, open_default, create };
    Status open_by(How how, reg_key parent, const std::string& sub_key, std::uint32_t access);
    // Makes room for the longest name and data the key holds by `info`, and for a data
    // size the registry reported.
    void fit_buffers(const RegKeyInfo& info, std::uint32_t reported_data_size);
    // Makes room for the longest name and data the key now holds, and at least twice the
    // room there was.
    void grow_buffers(std::uint32_t reported_data_size);

    RegistryApi* api_;
    reg_key handle_ = 0;
    bool owns_ = false;  // false when the registry handed back the parent itself
    std::vector<char> name_buffer_;
    std::vector<std::uint8_t> data_buffer_;
};

}  // namespace tarnwell
