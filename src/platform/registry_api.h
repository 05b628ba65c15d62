#pragma once
// The advapi32 registry calls the program uses, with names and texts in UTF-8 (Windows
// keeps them in UTF-16: the implementation converts), Windows return codes (as a
// Status) and Windows buffer and size semantics: name buffers in bytes of UTF-8, and a
// text's data as its UTF-8 bytes. One implementation
// calls Windows; the host twin keeps an in-memory registry that behaves the same way.
#include <cstdint>

#include "common/status.h"

namespace tarnwell {

// A registry key handle as a 32-bit program sees it: the predefined roots are the
// fixed values below, opened keys get values of their own.
using reg_key = std::uint32_t;

namespace reg {
constexpr reg_key classes_root = 0x80000000u;
constexpr reg_key current_user = 0x80000001u;
constexpr reg_key local_machine = 0x80000002u;
constexpr reg_key users = 0x80000003u;
constexpr reg_key performance_data = 0x80000004u;
constexpr reg_key current_config = 0x80000005u;
constexpr reg_key dyn_data = 0x80000006u;

// Return codes.
constexpr long success = 0;
constexpr long file_not_found = 2;
constexpr long access_denied = 5;
constexpr long invalid_handle = 6;
constexpr long invalid_parameter = 87;
constexpr long bad_pathname = 161;
constexpr long name_too_long = 206;
constexpr long more_data = 234;
constexpr long no_more_items = 259;
constexpr long invalid_key = 1010;
constexpr long key_not_written = 1013;
constexpr long key_deleted = 1018;

// Access masks.
constexpr std::uint32_t key_read = 0x20019;
constexpr std::uint32_t key_write = 0x20006;
constexpr std::uint32_t key_all_access = 0xF003F;
constexpr std::uint32_t maximum_allowed = 0x02000000;

// Value types.
constexpr std::uint32_t type_none = 0;
constexpr std::uint32_t type_sz = 1;
constexpr std::uint32_t type_expand_sz = 2;
constexpr std::uint32_t type_binary = 3;
constexpr std::uint32_t type_dword = 4;
constexpr std::uint32_t type_link = 6;
constexpr std::uint32_t type_multi_sz = 7;

// A registry link (a key made with REG_OPTION_CREATE_LINK) holds the NT path of the key
// it leads to in this value, of type_link.
constexpr const char* link_value_name = "SymbolicLinkValue";

// The types whose data is text, which Windows stores in UTF-16.
constexpr bool is_text_type(std::uint32_t type) {
    return type == type_sz || type == type_expand_sz || type == type_multi_sz;
}
}  // namespace reg

// Which registry a 64-bit Windows shows: the program's own (what a 32-bit program sees
// is the 32-bit view), or the 32-bit or the 64-bit view whatever the program is. The
// views differ in HKEY_LOCAL_MACHINE\SOFTWARE, whose keys for 32-bit programs are kept
// under its subkey Wow6432Node. A 32-bit Windows has one registry, which every view shows.
enum class RegistryView { own, bits32, bits64 };

// Each method is one advapi32 call (named in its comment); its Status holds the call's
// Windows return code.
class RegistryApi {
public:
    virtual ~RegistryApi() = default;

    // RegOpenKeyExW.
    virtual Status open_key(reg_key parent, const char* sub_key, std::uint32_t access,
                            reg_key* result) = 0;
    // RegOpenKeyExW with REG_OPTION_OPEN_LINK: as open_key, but a registry link is opened
    // itself, not the key it leads to.
    virtual Status open_link(reg_key parent, const char* sub_key, std::uint32_t access,
                             reg_key* result) = 0;
    // RegOpenKeyW: the key with whatever access it allows; an empty sub_key gives the
    // parent itself back, not a new handle.
    virtual Status open_key_default(reg_key parent, const char* sub_key, reg_key* result) = 0;
    // RegCreateKeyW: opens the key, creating it and any missing keys above it first.
    virtual Status create_key(reg_key parent, const char* sub_key, reg_key* result) = 0;
    // RegCloseKey.
    virtual Status close_key(reg_key key) = 0;
    // RegDeleteKeyW: refused for a key that has subkeys.
    virtual Status delete_key(reg_key key, const char* sub_key) = 0;
    // RegDeleteValueW.
    virtual Status delete_value(reg_key key, const char* value_name) = 0;
    // RegEnumKeyExW without class or last-write time. name_size: in, the buffer's size
    // in characters; out, the name's length without its NUL.
    virtual Status enum_subkey(reg_key key, std::uint32_t index, char* name,
                               std::uint32_t* name_size) = 0;
    // RegEnumValueW. Any of type, data and data_size may be null, as in Windows.
    virtual Status enum_value(reg_key key, std::uint32_t index, char* name,
                              std::uint32_t* name_size, std::uint32_t* type, std::uint8_t* data,
                              std::uint32_t* data_size) = 0;
    // RegQueryInfoKeyW, the counts and longest sizes only, as Windows counts them: names
    // in UTF-16 units, data in stored bytes (UTF-16 for texts). Any output may be null.
    virtual Status query_key_info(reg_key key, std::uint32_t* sub_keys,
                                  std::uint32_t* max_sub_key_len, std::uint32_t* values,
                                  std::uint32_t* max_value_name_len,
                                  std::uint32_t* max_value_len) = 0;
    // RegQueryValueExW.
    virtual Status query_value(reg_key key, const char* value_name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* data_size) = 0;
    // RegSetValueExW.
    virtual Status set_value(reg_key key, const char* value_name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t data_size) = 0;
};

}  // namespace tarnwell
