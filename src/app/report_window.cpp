#include "app/report_window.h"

#include <exception>
#include <utility>

#include "epsg/definitions_location.h"
#include "epsg/epsg_reader.h"
#include "probes/program_settings.h"
#include "probes/stored_text.h"
#include "probes/suite_values.h"
#include "report/suite_lookups.h"

namespace tarnwell {

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
    findings_.clear();
    write_environment_report(platform_, suite_, *this);
}

void Form_Tarnwell_Environment::start(const std::string& header) { view_.set_pane_text(header); }

void Form_Tarnwell_Environment::installation_checked(const SuiteState& state) {
    // The EPSG buttons follow the definitions file as far as the checks came.
    program_.epsg_definitions_path = state.definitions_path;
    if (!program_.epsg_definitions_path.empty()) {
        view_.set_enabled(EpsgButton::test, true);
        view_.set_enabled(EpsgButton::update, true);
    }
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
        const Result<SuiteValue> found = stored_suite_value(platform_, appName, section, KeyName);
        const SuiteValuePlace place = found.ok() ? found->place : SuiteValuePlace::nowhere;
        // The place looked at last; ierr is left alone for a value of the settings tree.
        switch (place) {
        case SuiteValuePlace::machine_32:
        case SuiteValuePlace::machine_64:
            chkeyloc = "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\";
            ierr = 0;
            break;
        case SuiteValuePlace::user:
            chkeyloc = "\\HKEY_CURRENT_USER\\SOFTWARE\\";
            ierr = 0;
            break;
        case SuiteValuePlace::program_settings:
            chkeyloc = "VB Registry";
            break;
        case SuiteValuePlace::nowhere:
            chkeyloc = "VB Registry";
            ierr = -1;
            break;
        }
        if (found.ok()) chkey = found->text;
    } catch (const std::exception& failure) {
        chkey.clear();
        platform_.desktop.message_box(key_check_failure(section, description_of(failure)),
                                      MessageKind::error);
    }
}

void Form_Tarnwell_Environment::read_persisted_EPSG_projection_database(const std::string& fname,
                                                                        std::int32_t& ierr) {
    const Status read = read_definitions_file(platform_.files, fname);
    ierr = read.ok() ? 0 : -1;
    if (!read.ok()) platform_.desktop.message_box(read.description(), MessageKind::error);
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
    if (!update.copy.ok())
        platform_.desktop.message_box("An error occurred while copying the EPSG definitions file " +
                                          update.source + " to " + update.location + ": " +
                                          update.copy.description(),
                                      MessageKind::error);
}

AppendReportLine Form_Tarnwell_Environment::append_after_empty_line() {
    return [this](const std::string& line) { append_report_line(line, true); };
}

}  // namespace tarnwell
