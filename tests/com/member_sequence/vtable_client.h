#pragma once
// The sequence's client that calls the registered COM component through its
// interface's vtable, as compiled VB does: created by CLSID, arguments and results in
// automation types.
#include <memory>

#include "registry_client.h"

namespace tarnwell::test {

std::unique_ptr<RegistryClient> new_vtable_client();

}  // namespace tarnwell::test
