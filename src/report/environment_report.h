#pragma once
// The environment report, whole: its header with the date and time, the installation
// checks and the saved settings report. The window writes it into its pane at start-up;
// "/report" writes it to a file.
#include "platform/platform.h"
#include "report/installation_checks.h"
#include "report/report_sink.h"

namespace tarnwell {

// Settles the Windows and system folders and the per-user suite folder, then writes the
// report to the sink. Whatever fails stops the report where it stands: the failure is
// shown in a message box, and the lines written so far stand.
void write_environment_report(Platform& platform, SuiteState& state, ReportSink& sink);

}  // namespace tarnwell
