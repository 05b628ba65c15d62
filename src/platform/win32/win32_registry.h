#pragma once
// The registry on Windows: the advapi32 wide calls, with names and texts converted
// between the program's UTF-8 and the UTF-16 Windows keeps them in.
#include <cstdint>

#include "platform/registry_api.h"

namespace tarnwell {

class Win32Registry : public RegistryApi {
public:
    // In a chosen view every call that names a subkey asks for that view, below keys
    // opened in either view; in the program's own view the calls are the plain ones.
    explicit Win32Registry(RegistryView view = RegistryView::own);

    Status open_key_default(reg_key key, const char* sub_key, reg_key* result) override;
    Status open_key(reg_key key, const char* sub_key, std::uint32_t access,
                    reg_key* result) override;
    Status open_link(reg_key key, const char* sub_key, std::uint32_t access,
                     reg_key* result) override;
    Status create_key(reg_key key, const char* sub_key, reg_key* result) override;
    Status close_key(reg_key key) override;
    Status delete_key(reg_key key, const char* sub_key) override;
    Status delete_value(reg_key key, const char* value_name) override;
    Status enum_subkey(reg_key key, std::uint32_t index, char* name,
                       std::uint32_t* name_size) override;
    Status enum_value(reg_key key, std::uint32_t index, char* name, std::uint32_t* name_size,
                      std::uint32_t* type, std::uint8_t* data, std::uint32_t* data_size) override;
    Status query_key_info(reg_key key, std::uint32_t* sub_keys, std::uint32_t* max_sub_key_len,
                          std::uint32_t* values, std::uint32_t* max_value_name_len,
                          std::uint32_t* max_value_len) override;
    Status query_value(reg_key key, const char* value_name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* data_size) override;
    Status set_value(reg_key key, const char* value_name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t data_size) override;

private:
    std::uint32_t view_flag_;  // KEY_WOW64_32KEY or KEY_WOW64_64KEY; 0 for the own view
};

}  // namespace tarnwell
