#pragma once
// Registry set-up for tests, through the registry interface: keys and values made in
// one call, and a registry that passes every call on unless a hook fails it.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/registry_api.h"
#include "support/status_print.h"

namespace tarnwell::test {

// Makes the key (with any missing keys above it). Fails the test when it cannot.
void make_key(RegistryApi& registry, reg_key root, const std::string& sub_key);
// Makes the key and sets one value on it: `bytes` exactly as stored.
void put_value(RegistryApi& registry, reg_key root, const std::string& sub_key,
               const std::string& name, std::uint32_t type, const std::string& bytes);
// A text value, stored with its terminating NUL.
void put_text(RegistryApi& registry, reg_key root, const std::string& sub_key,
              const std::string& name, const std::string& text);
// A number value.
void put_number(RegistryApi& registry, reg_key root, const std::string& sub_key,
                const std::string& name, std::int32_t number);

// Passes every call on to another registry after asking a hook whether to fail it with
// a status of the hook's choosing instead: faults in the middle of a listing, a key
// that cannot be read, a write the registry refuses. Counts the handles it gave out
// and that were not closed again, on any platform.
class HookedRegistry : public RegistryApi {
public:
    struct Call {
        std::string operation;  // the interface's name: "open_key", "enum_value", ...
        // The key's path below its root (for an open, the path asked for).
        std::string key_path;
        std::uint32_t index;       // for enumerations; 0 otherwise
        std::string sub_key = {};  // for an open, the text passed, relative to its parent
    };
    // The status to fail the call with, or nothing to pass it on.
    using Hook = std::function<std::optional<long>(const Call& call)>;

    HookedRegistry(RegistryApi& inner, Hook hook) : inner_(inner), hook_(std::move(hook)) {}

    std::size_t open_handles() const { return paths_.size(); }

    Status open_key(reg_key parent, const char* sub_key, std::uint32_t access,
                    reg_key* result) override;
    Status open_link(reg_key parent, const char* sub_key, std::uint32_t access,
                     reg_key* result) override;
    Status open_key_default(reg_key parent, const char* sub_key, reg_key* result) override;
    Status create_key(reg_key parent, const char* sub_key, reg_key* result) override;
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
    std::optional<long> fails(const char* operation, reg_key key, std::uint32_t index = 0) const;
    std::string path_below(reg_key parent, const char* sub_key) const;
    std::optional<long> fails_open(const char* operation, reg_key parent,
                                   const char* sub_key) const;
    Status opened(Status status, reg_key parent, const char* sub_key, const reg_key* result);

    RegistryApi& inner_;
    Hook hook_;
    std::map<reg_key, std::string> paths_;  // open handles and their paths below the root
};

}  // namespace tarnwell::test
