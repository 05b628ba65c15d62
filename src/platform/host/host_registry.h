#pragma once
// The host twin of the registry: an in-memory registry that behaves as advapi32 does.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/registry_api.h"

namespace tarnwell {

// Each HostRegistry is one view of a registry. The 64-bit view is the twin's own, as
// for a 64-bit program; in the 32-bit view the keys below HKEY_LOCAL_MACHINE\SOFTWARE are
// those below HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node, as 64-bit Windows keeps them. As
// under Wine, the view applies to the keys a call's path names: below an open key of
// SOFTWARE itself, its own subkeys are found in either view.
class HostRegistry : public RegistryApi {
public:
    // A new, empty registry, in the twin's own view.
    HostRegistry();
    // The registry of `same`, in the view given: keys, values and handles are shared.
    HostRegistry(HostRegistry& same, RegistryView view);
    ~HostRegistry() override;

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

    // Test set-up: an existing key that refuses any open asking for more than read
    // access, as a key whose security allows only reading.
    void set_read_only(reg_key root, const std::string& sub_key, bool read_only);
    // Test set-up: makes sub_key (below root; its parent must exist) a registry link to
    // the existing key target_sub_key below target_root, as a key made with
    // REG_OPTION_CREATE_LINK whose SymbolicLinkValue names that key.
    void make_link(reg_key root, const std::string& sub_key, reg_key target_root,
                   const std::string& target_sub_key);
    // Keys opened or created and not yet closed.
    std::size_t open_handles() const;

private:
    struct State;
    std::shared_ptr<State> state_;
    bool wow64_32_;  // the 32-bit view
};

}  // namespace tarnwell
