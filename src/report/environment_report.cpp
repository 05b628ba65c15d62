#include "report/environment_report.h"

#include <exception>

#include "report/saved_settings.h"
#include "report/suite_lookups.h"

namespace tarnwell {

namespace {

// The per-user local application-data folder.
constexpr std::int32_t csidl_local_appdata = 28;

Status write_report(Platform& platform, SuiteState& state, ReportSink& sink) {
    const Result<std::string> windows = platform.files.special_folder(0);
    if (!windows.ok()) return windows.status();
    state.windows_folder = *windows;
    const Result<std::string> system = platform.files.special_folder(1);
    if (!system.ok()) return system.status();
    state.system_folder = *system;
    state.folders.common_app = platform.shell.folder_path(csidl_local_appdata) + "\\Tarnwell";
    sink.start("Tarnwell System Environment Report Date: " + platform.desktop.general_date_now() +
               "\r");
    SuiteLookups lookups(platform);
    const Status checked = run_installation_checks(platform, lookups, state, sink);
    sink.installation_checked(state);
    if (!checked.ok()) return checked;
    run_saved_settings_report(lookups, sink);
    return Status();
}

}  // namespace

void write_environment_report(Platform& platform, SuiteState& state, ReportSink& sink) {
    std::string failure;
    try {
        if (const Status written = write_report(platform, state, sink); !written.ok())
            failure = written.description();
    } catch (const std::exception& raised) {
        failure = description_of(raised);
    }
    if (!failure.empty())
        platform.desktop.message_box("An error occurred while locating the file: " + failure,
                                     MessageKind::error);
}

}  // namespace tarnwell
