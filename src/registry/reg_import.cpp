// ImportFromReg: a REGEDIT4 file read whole and applied to the registry.
#include "registry/clsRegistryAccess.h"
#include "registry/reg_import_text.h"

namespace tarnwell {

std::int32_t clsRegistryAccess::ImportFromReg(const std::string& sRegFile, RegFileReport* report) {
    RegFileReport unused;
    RegFileReport& noted = report != nullptr ? *report : unused;
    noted = RegFileReport();
    // The value writes create the keys they need; the setting stays after the import.
    set_CreateKeyIfDoesntExists(true);
    std::string text;
    try {
        if (!files_.matches_exist(sRegFile)) {
            noted.failure = sRegFile + ": file not found";
            return 0;
        }
        // The file is closed again before the registry is changed.
        text = files_.read_file(sRegFile);
    } catch (const std::exception& failure) {
        noted.failure = sRegFile + ": " + failure.what();
        return 0;
    }
    return apply_reg_text(api_, text, noted);
}

}  // namespace tarnwell
