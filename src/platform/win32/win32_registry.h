#pragma once
// The registry on Windows: a thin pass-through to the advapi32 ANSI calls.
#include "platform/registry_api.h"

namespace tarnwell {

class Win32Registry : public RegistryApi {
public:
    long RegOpenKeyA(reg_key key, const char* sub_key, reg_key* result) override;
    long RegOpenKeyExA(reg_key key, const char* sub_key, std::uint32_t access,
                       reg_key* result) override;
    long RegCreateKeyA(reg_key key, const char* sub_key, reg_key* result) override;
    long RegCloseKey(reg_key key) override;
    long RegDeleteKeyA(reg_key key, const char* sub_key) override;
    long RegDeleteValueA(reg_key key, const char* value_name) override;
    long RegEnumKeyExA(reg_key key, std::uint32_t index, char* name,
                       std::uint32_t* name_size) override;
    long RegEnumValueA(reg_key key, std::uint32_t index, char* name, std::uint32_t* name_size,
                       std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* data_size) override;
    long RegQueryInfoKeyA(reg_key key, std::uint32_t* sub_keys, std::uint32_t* max_sub_key_len,
                          std::uint32_t* values, std::uint32_t* max_value_name_len,
                          std::uint32_t* max_value_len) override;
    long RegQueryValueExA(reg_key key, const char* value_name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* data_size) override;
    long RegSetValueExA(reg_key key, const char* value_name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t data_size) override;
};

}  // namespace tarnwell
