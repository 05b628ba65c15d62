#pragma once
// The registry on Windows: a thin pass-through to the advapi32 ANSI calls.
#include "platform/registry_api.h"

namespace tarnwell {

class Win32Registry : public RegistryApi {
public:
    long open_key_default(reg_key key, const char* sub_key, reg_key* result) override;
    long open_key(reg_key key, const char* sub_key, std::uint32_t access, reg_key* result) override;
    long create_key(reg_key key, const char* sub_key, reg_key* result) override;
    long close_key(reg_key key) override;
    long delete_key(reg_key key, const char* sub_key) override;
    long delete_value(reg_key key, const char* value_name) override;
    long enum_subkey(reg_key key, std::uint32_t index, char* name,
                     std::uint32_t* name_size) override;
    long enum_value(reg_key key, std::uint32_t index, char* name, std::uint32_t* name_size,
                    std::uint32_t* type, std::uint8_t* data, std::uint32_t* data_size) override;
    long query_key_info(reg_key key, std::uint32_t* sub_keys, std::uint32_t* max_sub_key_len,
                        std::uint32_t* values, std::uint32_t* max_value_name_len,
                        std::uint32_t* max_value_len) override;
    long query_value(reg_key key, const char* value_name, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* data_size) override;
    long set_value(reg_key key, const char* value_name, std::uint32_t type,
                   const std::uint8_t* data, std::uint32_t data_size) override;
};

}  // namespace tarnwell
