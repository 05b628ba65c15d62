#pragma once
// Why a registry lookup found nothing: because the key or value is not there, or
// because the registry refused or failed the call (access denied, a broken hive). The
// report's lines read the same either way; a machine-readable report tells them apart.
#include <string>

#include "platform/registry_api.h"

namespace tarnwell {

// The Windows error of opening the key for reading; 0 when it opens or is not there.
long key_lookup_error(RegistryApi& registry, reg_key root, const std::string& sub_key);

// The Windows error of reading the value's size; 0 when it reads or the key or the
// value is not there.
long value_lookup_error(RegistryApi& registry, reg_key root, const std::string& sub_key,
                        const std::string& name);

}  // namespace tarnwell
