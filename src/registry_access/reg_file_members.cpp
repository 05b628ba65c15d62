// ExportToReg and ImportFromReg: the class's results over the REGEDIT4 export and import.
#include <optional>

#include "registry/reg_file_export.h"
#include "registry/reg_file_import.h"
#include "registry_access/class_key_path.h"
#include "registry_access/clsRegistryAccess.h"

namespace tarnwell {

namespace {

// The status text box shows each key as its block is written, after pending window
// events have run, so that the window stays responsive and shows progress.
class StatusTextProgress : public ExportProgress {
public:
    StatusTextProgress(Desktop& desktop, StatusText& output) : desktop_(desktop), output_(output) {}
    Status key_started(const std::string& key_path) override {
        desktop_.process_pending_events();
        return output_.set_text(key_path);
    }

private:
    Desktop& desktop_;
    StatusText& output_;
};

}  // namespace

std::int32_t clsRegistryAccess::ExportToReg(const std::string& sPath, const std::string& sRegFile,
                                            bool IncludeSubkeys, StatusText* Output) {
    std::optional<StatusTextProgress> progress;
    if (Output != nullptr) progress.emplace(desktop_, *Output);
    const RegFileResult result =
        export_reg_file(api_, files_, class_export_path(sPath), sRegFile, IncludeSubkeys,
                        RegFileForm::regedit4, progress ? &*progress : nullptr);
    return result.whole() ? 1 : 0;
}

std::int32_t clsRegistryAccess::ImportFromReg(const std::string& sRegFile) {
    // The value writes create the keys they need; the setting stays after the import.
    set_CreateKeyIfDoesntExists(true);
    const RegFileResult result =
        import_reg_file(api_, files_, sRegFile, UnicodeFiles::refused, class_key_path_reading);
    // A line that could not be read is an error on the way, as a malformed key line or
    // a number too large always was: the lines after it are applied, the result is 0.
    return result.whole() && result.unreadable_lines() == 0 ? 1 : 0;
}

}  // namespace tarnwell
