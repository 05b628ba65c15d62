// ImportFromReg: a REGEDIT4 file read whole and applied to the registry.
#include "registry/clsRegistryAccess.h"
#include "registry/reg_import_text.h"

namespace tarnwell {

std::int32_t clsRegistryAccess::ImportFromReg(const std::string& sRegFile) {
    // The value writes create the keys they need; the setting stays after the import.
    set_CreateKeyIfDoesntExists(true);
    try {
        if (!files_.matches_exist(sRegFile)) return 0;
        // The file is closed again before the registry is changed.
        const std::string text = files_.read_file(sRegFile);
        return apply_reg_text(*this, api_, text);
    } catch (...) {
        return 0;
    }
}

}  // namespace tarnwell
