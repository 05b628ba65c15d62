#pragma once
// The registry tests that both the environment report and the registry access class
// make, each written once: a key test that asks for full access, and the read of a
// stored text into a buffer of a fixed 255 bytes.
#include <cstdint>
#include <string>

#include "common/status.h"
#include "platform/registry_api.h"

namespace tarnwell {

// The buffer a fixed-size text read prepares: 255 bytes, the text's NUL included.
constexpr std::uint32_t fixed_text_bytes = 255;

// Opens the key with full access and closes it again: success only for a key the caller
// may read and change; file_not_found when it is not there; any other failure (a key
// the caller may only read gives access denied) as the registry reported it.
Status open_with_full_access(RegistryApi& registry, reg_key root, const std::string& sub_key);

// The value's data read into a buffer of fixed_text_bytes, without one final NUL. The
// stored type is not checked. A text that does not fit with its NUL fails with
// more_data; a missing key or value with file_not_found.
Result<std::string> read_fixed_size_text(RegistryApi& registry, reg_key root,
                                         const std::string& sub_key, const std::string& name);

}  // namespace tarnwell
