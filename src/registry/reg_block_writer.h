#pragma once
// The value writes and deletes of one key block of a REGEDIT4 import, through one
// handle to the key kept for the whole block. Each has the effect of the class's own
// write or delete with CreateKeyIfDoesntExists set: a write creates a missing key
// first, a delete never does, and a key that refuses writing is left as it is. A
// failing write or delete is passed over, as the import does.
#include <cstdint>
#include <string>

#include "platform/registry_api.h"

namespace tarnwell {

class RegBlockWriter {
public:
    RegBlockWriter(RegistryApi& api, const std::string& sPath);
    ~RegBlockWriter();
    RegBlockWriter(const RegBlockWriter&) = delete;
    RegBlockWriter& operator=(const RegBlockWriter&) = delete;

    // "@" names the default value here, as WriteString has it.
    void write_text(const std::string& name, const std::string& text);
    // bytes: one character per byte.
    void write_binary(const std::string& name, const std::string& bytes);
    void write_number(const std::string& name, std::int32_t number);
    void delete_value(const std::string& name);

private:
    // The block's key, opened (and for a write created when missing) on first use; 0
    // when it cannot be.
    reg_key writable(bool create);
    void set(const std::string& name, std::uint32_t type, const std::string& data);

    RegistryApi& api_;
    reg_key root_ = 0;
    std::string sub_key_;
    reg_key key_ = 0;
};

}  // namespace tarnwell
