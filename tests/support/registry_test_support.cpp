#include "support/registry_test_support.h"

#include <gtest/gtest.h>

#include "common/little_endian.h"
#include "registry/reg_key.h"

namespace tarnwell::test {

void make_key(RegistryApi& registry, reg_key root, const std::string& sub_key) {
    RegKey key(registry);
    ASSERT_EQ(key.create(root, sub_key), reg::success) << sub_key;
}

void put_value(RegistryApi& registry, reg_key root, const std::string& sub_key,
               const std::string& name, std::uint32_t type, const std::string& bytes) {
    RegKey key(registry);
    ASSERT_EQ(key.create(root, sub_key), reg::success) << sub_key;
    ASSERT_EQ(key.set_value(name, type, bytes), reg::success) << sub_key << " " << name;
}

void put_text(RegistryApi& registry, reg_key root, const std::string& sub_key,
              const std::string& name, const std::string& text) {
    put_value(registry, root, sub_key, name, reg::type_sz, text + '\0');
}

void put_number(RegistryApi& registry, reg_key root, const std::string& sub_key,
                const std::string& name, std::int32_t number) {
    put_value(registry, root, sub_key, name, reg::type_dword,
              u32_le_bytes(static_cast<std::uint32_t>(number)));
}

std::optional<long> HookedRegistry::fails(const char* operation, reg_key key,
                                          std::uint32_t index) const {
    const auto found = paths_.find(key);
    return hook_(Call{operation, found != paths_.end() ? found->second : std::string(), index});
}

std::string HookedRegistry::path_below(reg_key parent, const char* sub_key) const {
    // A key opened below another open key is known by its path from the root.
    const std::string name = sub_key != nullptr ? sub_key : "";
    const auto above = paths_.find(parent);
    if (above == paths_.end()) return name;
    return name.empty() ? above->second : above->second + "\\" + name;
}

std::optional<long> HookedRegistry::fails_open(const char* operation, reg_key parent,
                                               const char* sub_key) const {
    return hook_(
        Call{operation, path_below(parent, sub_key), 0, sub_key != nullptr ? sub_key : ""});
}

Status HookedRegistry::opened(Status status, reg_key parent, const char* sub_key,
                              const reg_key* result) {
    // An empty sub_key may give the parent itself back, which is no new handle.
    if (status == reg::success && result != nullptr && *result != parent)
        paths_[*result] = path_below(parent, sub_key);
    return status;
}

Status HookedRegistry::open_key(reg_key parent, const char* sub_key, std::uint32_t access,
                                reg_key* result) {
    if (const auto status = fails_open("open_key", parent, sub_key)) return Status(*status);
    return opened(inner_.open_key(parent, sub_key, access, result), parent, sub_key, result);
}

Status HookedRegistry::open_link(reg_key parent, const char* sub_key, std::uint32_t access,
                                 reg_key* result) {
    if (const auto status = fails_open("open_link", parent, sub_key)) return Status(*status);
    return opened(inner_.open_link(parent, sub_key, access, result), parent, sub_key, result);
}

Status HookedRegistry::open_key_default(reg_key parent, const char* sub_key, reg_key* result) {
    if (const auto status = fails_open("open_key_default", parent, sub_key)) return Status(*status);
    return opened(inner_.open_key_default(parent, sub_key, result), parent, sub_key, result);
}

Status HookedRegistry::create_key(reg_key parent, const char* sub_key, reg_key* result) {
    if (const auto status = fails_open("create_key", parent, sub_key)) return Status(*status);
    return opened(inner_.create_key(parent, sub_key, result), parent, sub_key, result);
}

Status HookedRegistry::close_key(reg_key key) {
    paths_.erase(key);
    return inner_.close_key(key);
}

Status HookedRegistry::delete_key(reg_key key, const char* sub_key) {
    if (const auto status = fails("delete_key", key)) return Status(*status);
    return inner_.delete_key(key, sub_key);
}

Status HookedRegistry::delete_value(reg_key key, const char* value_name) {
    if (const auto status = fails("delete_value", key)) return Status(*status);
    return inner_.delete_value(key, value_name);
}

Status HookedRegistry::enum_subkey(reg_key key, std::uint32_t index, char* name,
                                   std::uint32_t* name_size) {
    if (const auto status = fails("enum_subkey", key, index)) return Status(*status);
    return inner_.enum_subkey(key, index, name, name_size);
}

Status HookedRegistry::enum_value(reg_key key, std::uint32_t index, char* name,
                                  std::uint32_t* name_size, std::uint32_t* type, std::uint8_t* data,
                                  std::uint32_t* data_size) {
    if (const auto status = fails("enum_value", key, index)) return Status(*status);
    return inner_.enum_value(key, index, name, name_size, type, data, data_size);
}

Status HookedRegistry::query_key_info(reg_key key, std::uint32_t* sub_keys,
                                      std::uint32_t* max_sub_key_len, std::uint32_t* values,
                                      std::uint32_t* max_value_name_len,
                                      std::uint32_t* max_value_len) {
    if (const auto status = fails("query_key_info", key)) return Status(*status);
    return inner_.query_key_info(key, sub_keys, max_sub_key_len, values, max_value_name_len,
                                 max_value_len);
}

Status HookedRegistry::query_value(reg_key key, const char* value_name, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* data_size) {
    if (const auto status = fails("query_value", key)) return Status(*status);
    return inner_.query_value(key, value_name, type, data, data_size);
}

Status HookedRegistry::set_value(reg_key key, const char* value_name, std::uint32_t type,
                                 const std::uint8_t* data, std::uint32_t data_size) {
    if (const auto status = fails("set_value", key)) return Status(*status);
    return inner_.set_value(key, value_name, type, data, data_size);
}

}  // namespace tarnwell::test
