#include "app/report_window.h"

#include <exception>
#include <new>
#include <utility>

#include "epsg/definitions_location.h"
#include "epsg/epsg_reader.h"
#include "probes/lookup_failure.h"
#include "probes/program_settings.h"
#include "probes/stored_text.h"
#include "registry_access/class_key_path.h"
#include "report/saved_settings.h"

namespace tarnwell {

namespace {

// The per-user local application-data folder.
constexpr std::int32_t csidl_local_appdata = 28;

// What a trap shows of a failure that came as an exception rather than a Status.
std::string description_of(const std::exception& failure) {
    return dynamic_cast<const std::bad_alloc*>(&failure) != nullptr ? "Out of memory"
                                                                    : failure.what();
}

}  // namespace

Form_Tarnwell_Environment::Form_Tarnwell_Environment(Platform& platform, ReportView& view,
                                                     ProgramState& program)
    : platform_(platform), view_(view), program_(program) {}

clsRegistryAccess& Form_Tarnwell_Environment::registry() {
    if (!registry_)
        registry_ = std::make_unique<clsRegistryAccess>(platform_.registry, platform_.files,
                                                        platform_.desktop);
    return *registry_;
}

void Form_Tarnwell_Environment::Form_Load() {
    // The load handler's one trap: whatever fails stops the report where it stands,
    // and the window opens with the lines written so far.
    std::string failure;
    try {
        if (const Status written = write_report(); !written.ok()) failure = written.description();
    } catch (const std::exception& raised) {
        failure = description_of(raised);
    }
    if (!failure.empty())
        platform_.desktop.message_box("An error occurred while locating the file: " + failure,
                                      MessageKind::error);
}

Status Form_Tarnwell_Environment::write_report() {
    findings_.clear();
    const Result<std::string> windows = platform_.files.special_folder(0);
    if (!windows.ok()) return windows.status();
    windows_folder = *windows;
    const Result<std::string> system = platform_.files.special_folder(1);
    if (!system.ok()) return system.status();
    system_folder = *system;
    user_suite_folder = GetSpecialFolderLocation(csidl_local_appdata) + "\\Tarnwell";
    view_.set_pane_text(
        "Tarnwell System Environment Report Date: " + platform_.desktop.general_date_now() + "\r");
    registry();
    const Status checked =
        run_installation_checks({*this, platform_.files, platform_.support}, suite_, *this);
    // The EPSG buttons follow the definitions file as far as the checks came.
    program_.epsg_definitions_path = suite_.definitions_path;
    if (!program_.epsg_definitions_path.empty()) {
        view_.set_enabled(EpsgButton::test, true);
        view_.set_enabled(EpsgButton::update, true);
    }
    if (!checked.ok()) return checked;
    run_saved_settings_report(*this, *this);
    return Status();
}

void Form_Tarnwell_Environment::append_report_line(const std::string& line, bool blank_before) {
    // The pane is read-only, so its text is what the program wrote: adding at its end
    // keeps the pane's current text as the base of the append without reading it back
    // and writing it again, which would cost the square of the report's length.
    std::string tail(blank_before ? "\r\r" : "\r");
    tail += line;
    view_.append_pane_text(tail);
}

void Form_Tarnwell_Environment::add(const Finding& finding) {
    append_report_line(finding.line, finding.blank_before);
    findings_.push_back(finding);
}

// Why a lookup that found nothing did so (see lookup_failure.h), when the report is to
// say it: that costs a registry call or three for each value stored nowhere. Asking may
// fail in turn; it never ends the report, and a failure to ask counts as the lookup's.
template <class Ask>
long Form_Tarnwell_Environment::failure_behind(Ask ask) {
    constexpr long not_enough_memory = 8;   // ERROR_NOT_ENOUGH_MEMORY
    constexpr long function_failed = 1627;  // ERROR_FUNCTION_FAILED
    if (!explain_failed_lookups_) return 0;
    try {
        return ask();
    } catch (const std::bad_alloc&) {
        return not_enough_memory;
    } catch (const std::exception&) {
        return function_failed;
    }
}

// The answers come from the published lookups, so the report reads as they do; where
// they found nothing, the core says whether the registry failed the lookup.
Lookup<bool> Form_Tarnwell_Environment::key_exists(const std::string& path) {
    if (registry().KeyExists(path)) return {true};
    return {false, failure_behind([&] {
                const KeyPath key = class_key_path(path);
                return key_lookup_error(platform_.registry, key.root, key.sub_key);
            })};
}

Lookup<std::string> Form_Tarnwell_Environment::stored_value(const std::string& app,
                                                            const std::string& section,
                                                            const std::string& name) {
    std::string chkey, chkeyloc;
    std::int32_t ierr = 0;
    get_registry_codes(app, section, name, chkey, chkeyloc, ierr);
    if (!chkey.empty()) return {chkey};
    return {
        "", failure_behind([&] {
            const std::string below = app + "\\" + section;
            for (const auto& [root, sub_key] :
                 {std::pair{reg::local_machine, "SOFTWARE\\" + below},
                  std::pair{reg::current_user, "SOFTWARE\\" + below},
                  std::pair{reg::current_user,
                            std::string(program_settings_tree) + "\\" + below}}) {
                if (const long error = value_lookup_error(platform_.registry, root, sub_key, name))
                    return error;
            }
            return 0L;
        })};
}

Lookup<std::int32_t> Form_Tarnwell_Environment::settings_count(const std::string& section) {
    std::vector<std::array<std::string, 2>> entries;
    const std::int32_t count = GetAllSettingValue(section, entries);
    if (count >= 1) return {count};
    return {count, failure_behind([&] {
                return key_lookup_error(platform_.registry, reg::current_user,
                                        std::string(program_settings_tree) + "\\" + section);
            })};
}

void Form_Tarnwell_Environment::Command_copy_text_Click() {
    if (const Status copied = platform_.desktop.set_clipboard_text(view_.pane_text()); !copied.ok())
        platform_.desktop.message_box("Run-time error: " + copied.description(),
                                      MessageKind::error);
}

void Form_Tarnwell_Environment::Command_done_whats_new_Click() { platform_.desktop.end_program(); }

std::string Form_Tarnwell_Environment::GetSpecialFolderLocation(std::int32_t CSIDL) {
    return platform_.shell.folder_path(CSIDL);
}

std::string Form_Tarnwell_Environment::TrimN(const std::string& chstr) {
    return trimmed_stored_text(chstr);
}

std::int32_t Form_Tarnwell_Environment::GetAllSettingValue(
    const std::string& chnode, std::vector<std::array<std::string, 2>>& chCurKey) {
    SectionSettings read = read_section_settings(platform_.registry, chnode);
    if (read.value_count < 1) return 0;
    // As many rows as the section holds values, even where some were not filled.
    chCurKey.assign(read.value_count, {});
    std::move(read.settings.begin(), read.settings.end(), chCurKey.begin());
    return static_cast<std::int32_t>(read.settings.size());
}

void Form_Tarnwell_Environment::get_registry_codes(const std::string& appName,
                                                   const std::string& section,
                                                   const std::string& KeyName, std::string& chkey,
                                                   std::string& chkeyloc, std::int32_t& ierr) {
    // This lookup has its own trap: a failure is shown and the value counts as missing.
    try {
        chkey.clear();
        const auto read_from = [&](const char* location) {
            chkeyloc = location;
            const std::string text =
                registry().ReadString(chkeyloc + appName + "\\" + section, KeyName, "");
            if (!text.empty()) chkey = TrimN(text);
            return !chkey.empty();
        };
        if (read_from("\\HKEY_LOCAL_MACHINE\\SOFTWARE\\") ||
            read_from("\\HKEY_CURRENT_USER\\SOFTWARE\\")) {
            ierr = 0;
            return;
        }
        chkeyloc = "VB Registry";
        // The settings store's own lookup, with its default: a setting missing, or stored
        // as that very text, counts as no value.
        chkey =
            program_setting(platform_.registry, appName, section, KeyName).value_or("<no value>");
        if (chkey == "<no value>") {
            chkey.clear();
            ierr = -1;
        }
    } catch (const std::exception& failure) {
        chkey.clear();
        platform_.desktop.message_box(
            "An error occurred while checking the key " + section + " : " + description_of(failure),
            MessageKind::error);
    }
}

void Form_Tarnwell_Environment::read_persisted_EPSG_projection_database(const std::string& fname,
                                                                        std::int32_t& ierr) {
    const DefinitionsRead read = read_definitions_file(platform_.files, fname, program_.epsg_store);
    ierr = read.status.ok() ? 0 : -1;
    if (!read.status.ok())
        platform_.desktop.message_box(
            "An error occurred while reading the EPSG definitions at stage " +
                std::to_string(read.stage) + " : " + read.status.description(),
            MessageKind::error);
}

void Form_Tarnwell_Environment::Command_test_epsg_Click() {
    std::int32_t ierr = 0;
    read_persisted_EPSG_projection_database(program_.epsg_definitions_path, ierr);
    const bool valid = ierr >= 0;
    platform_.desktop.message_box("The EPSG definition file " + program_.epsg_definitions_path +
                                      (valid ? " is valid" : " is not valid"),
                                  valid ? MessageKind::information : MessageKind::error);
}

std::string Form_Tarnwell_Environment::update_app_file(const std::string& fname) {
    return locate_and_copy_app_file(fname, suite_.folders, platform_.files,
                                    append_after_empty_line())
        .location;
}

void Form_Tarnwell_Environment::Command_Update_EPSG_app_location_Click() {
    const AppFileUpdate update =
        update_definitions_location(suite_.folders, platform_.files, append_after_empty_line());
    // The lines say where the file should be; the message box says why it is not.
    if (!update.copy_failure.empty())
        platform_.desktop.message_box("An error occurred while copying the EPSG definitions file " +
                                          update.source + " to " + update.location + ": " +
                                          update.copy_failure,
                                      MessageKind::error);
}

AppendReportLine Form_Tarnwell_Environment::append_after_empty_line() {
    return [this](const std::string& line) { append_report_line(line, true); };
}

}  // namespace tarnwell
