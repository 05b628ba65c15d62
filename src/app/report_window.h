#pragma once
// The report window, Form_Tarnwell_Environment, without its toolkit: its state, the
// start-up that writes the environment report, the one append operation and the
// button handlers. The Win32 window and the host twin supply the ReportView.
#include <cstdint>
#include <memory>
#include <string>

#include "epsg/epsg_commands.h"
#include "epsg/epsg_store.h"
#include "platform/platform.h"
#include "platform/report_view.h"
#include "registry/clsRegistryAccess.h"

namespace tarnwell {

// What lives for the whole run, outside the window: the path of the EPSG definitions
// file found at start-up and the definitions read by the test command.
struct ProgramState {
    std::string epsg_definitions_path;
    EpsgStore epsg_store;
};

class Form_Tarnwell_Environment {
public:
    Form_Tarnwell_Environment(Platform& platform, ReportView& view, ProgramState& program);

    // Start-up: writes the whole report. Failures end it with a message box and the
    // partial report.
    void Form_Load();

    void append_report_line(const std::string& line, bool blank_before);

    void Command_copy_text_Click();
    void Command_done_whats_new_Click();
    void Command_test_epsg_Click();
    void Command_Update_EPSG_app_location_Click();

    // Window state.
    std::string windows_folder;
    std::string system_folder;
    std::string user_suite_folder;
    std::string suite_bin_folder;
    std::string plotwick_folder;

    // The registry access object, created on first use.
    clsRegistryAccess& registry();

    // Looks a stored suite value up in the machine-wide key, the per-user key and the
    // program settings tree, in that order.
    void get_registry_codes(const std::string& appName, const std::string& section,
                            const std::string& KeyName, std::string& chkey,
                            std::string& chkeyloc, std::int32_t& ierr);

private:
    void write_report();
    SuiteFolders suite_folders() const;
    AppendReportLine append_after_empty_line();
    void installation_checks();
    void saved_settings_report();

    Platform& platform_;
    ReportView& view_;
    ProgramState& program_;
    std::unique_ptr<clsRegistryAccess> registry_;
};

}  // namespace tarnwell
