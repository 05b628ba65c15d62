#include "app/report_window.h"

#include <new>

#include "app/error_description.h"
#include "epsg/epsg_commands.h"
#include "probes/special_folders.h"

namespace tarnwell {

namespace {
// The per-user local application-data folder.
constexpr std::int32_t csidl_local_appdata = 28;
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
    try {
        write_report();
    } catch (const std::exception& failure) {
        platform_.desktop.message_box("An error occurred while locating the file: " +
                                      error_description(failure),
                                      MessageKind::error);
    }
}

void Form_Tarnwell_Environment::write_report() {
    windows_folder = platform_.files.special_folder(0);
    system_folder = platform_.files.special_folder(1);
    user_suite_folder = GetSpecialFolderLocation(platform_.shell, csidl_local_appdata) +
                        "\\Tarnwell";
    view_.set_pane_text("Tarnwell System Environment Report Date: " +
                        platform_.desktop.general_date_now() + "\r");
    registry();
    installation_checks();
    saved_settings_report();
}

void Form_Tarnwell_Environment::append_report_line(const std::string& line, bool blank_before) {
    // The pane is read-only, so its text is what the program wrote: adding at its end
    // keeps the pane's current text as the base of the append without reading it back
    // and writing it again, which would cost the square of the report's length.
    std::string tail(blank_before ? "\r\r" : "\r");
    tail += line;
    view_.append_pane_text(tail);
}

void Form_Tarnwell_Environment::Command_copy_text_Click() {
    platform_.desktop.set_clipboard_text(view_.pane_text());
}

void Form_Tarnwell_Environment::Command_done_whats_new_Click() { platform_.desktop.end_program(); }

void Form_Tarnwell_Environment::Command_test_epsg_Click() {
    test_epsg_definitions(program_.epsg_definitions_path, platform_.files, platform_.desktop,
                          program_.epsg_store);
}

SuiteFolders Form_Tarnwell_Environment::suite_folders() const {
    return {suite_bin_folder, user_suite_folder, plotwick_folder};
}

void Form_Tarnwell_Environment::Command_Update_EPSG_app_location_Click() {
    update_epsg_app_location(suite_folders(), platform_.files, platform_.desktop,
                             append_after_empty_line());
}

AppendReportLine Form_Tarnwell_Environment::append_after_empty_line() {
    return [this](const std::string& line) { append_report_line(line, true); };
}

}  // namespace tarnwell
