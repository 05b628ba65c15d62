#pragma once
// The sequence's client that calls the C++ class directly, on the real registry.
#include <memory>

#include "registry_client.h"

namespace tarnwell::test {

std::unique_ptr<RegistryClient> new_class_client();

}  // namespace tarnwell::test
