#include "registry/clsRegistryAccess.h"

#include "registry/key_path.h"

namespace tarnwell {

clsRegistryAccess::clsRegistryAccess(RegistryApi& registry, FileSystem& files, Desktop& desktop)
    : api_(registry), files_(files), desktop_(desktop) {}

void clsRegistryAccess::set_CreateKeyIfDoesntExists(bool offon) {
    CreateKeyIfDoesntExists_ = offon;
}

bool clsRegistryAccess::CreateKeyIfDoesntExists() const { return CreateKeyIfDoesntExists_; }

reg_key clsRegistryAccess::ParseKeyPath(std::string& sPath, std::string& sSubKeyOut) {
    return parse_key_path(sPath, sSubKeyOut);
}

}  // namespace tarnwell
