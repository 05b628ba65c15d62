#include "registry_access/clsRegistryAccess.h"

namespace tarnwell {

clsRegistryAccess::clsRegistryAccess(RegistryApi& registry, FileSystem& files, Desktop& desktop)
    : api_(registry), files_(files), desktop_(desktop) {}

void clsRegistryAccess::set_CreateKeyIfDoesntExists(bool offon) {
    CreateKeyIfDoesntExists_ = offon;
}

bool clsRegistryAccess::CreateKeyIfDoesntExists() const { return CreateKeyIfDoesntExists_; }

}  // namespace tarnwell
