#pragma once
// The report window, Form_Tarnwell_Environment, as it is published and without its
// toolkit: its state, its procedures (the load handler that writes the environment
// report, the one append operation, the button handlers and the window's own
// operations), each a thin face over the report, probes and EPSG core. The Win32 window
// and the host twin supply the ReportView.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/report_view.h"
#include "platform/platform.h"
#include "registry_access/clsRegistryAccess.h"
#include "report/environment_report.h"
#include "report/report_sink.h"

namespace tarnwell {

// What lives for the whole run, outside the window: the path of the EPSG definitions
// file found at start-up.
struct ProgramState {
    std::string epsg_definitions_path;
};

class Form_Tarnwell_Environment : private ReportSink {
    // The folders the installation checks look in and settle; the window's state names
    // them below.
    SuiteState suite_;

public:
    Form_Tarnwell_Environment(Platform& platform, ReportView& view, ProgramState& program);

    // Start-up: writes the whole report. A failure ends it with a message box and the
    // partial report.
    void Form_Load();

    void append_report_line(const std::string& line, bool blank_before);

    // What the start-up report found, one finding per line it wrote, headings included.
    const std::vector<Finding>& findings() const { return findings_; }

    // The buttons. A failure of the clipboard is shown as a run-time error.
    void Command_copy_text_Click();
    void Command_done_whats_new_Click();
    void Command_test_epsg_Click();
    void Command_Update_EPSG_app_location_Click();

    // Window state.
    std::string& windows_folder = suite_.windows_folder;
    std::string& system_folder = suite_.system_folder;
    std::string& user_suite_folder = suite_.folders.common_app;
    std::string& suite_bin_folder = suite_.folders.bin;
    std::string& plotwick_folder = suite_.folders.app;

    // The registry access object, created on first use.
    clsRegistryAccess& registry();

    // Looks a stored suite value up in the machine-wide key, the per-user key and the
    // program settings tree, in that order.
    void get_registry_codes(const std::string& appName, const std::string& section,
                            const std::string& KeyName, std::string& chkey, std::string& chkeyloc,
                            std::int32_t& ierr);
    // The shell folder's path, or "" when the shell cannot resolve the id.
    std::string GetSpecialFolderLocation(std::int32_t CSIDL);
    // Without leading and trailing spaces, then without trailing NULs.
    static std::string TrimN(const std::string& chstr);
    // The values of a program settings section: chCurKey gets one row per value the
    // section holds (left as it was when there are none), filled with the named ones;
    // the number filled.
    std::int32_t GetAllSettingValue(const std::string& chnode,
                                    std::vector<std::array<std::string, 2>>& chCurKey);
    // Reads the definitions file into the program's store; ierr 0 on success, -1 after a
    // failure, shown in a message box naming the stage.
    void read_persisted_EPSG_projection_database(const std::string& fname, std::int32_t& ierr);
    // Makes sure a copy of the definitions file stands at fname; where it stands.
    std::string update_app_file(const std::string& fname);

private:
    AppendReportLine append_after_empty_line();

    void start(const std::string& header) override;
    void add(const Finding& finding) override;
    void installation_checked(const SuiteState& state) override;

    Platform& platform_;
    ReportView& view_;
    ProgramState& program_;
    std::unique_ptr<clsRegistryAccess> registry_;
    std::vector<Finding> findings_;
};

}  // namespace tarnwell
