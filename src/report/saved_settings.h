#pragma once
// The saved settings report, the report's second section: the selected projection,
// working folders, recently used entries, window sizes and module settings, each looked
// up as a stored suite value, one finding per line.
#include "report/report_sink.h"
#include "report/suite_lookups.h"

namespace tarnwell {

void run_saved_settings_report(SuiteLookups& lookups, ReportSink& sink);

}  // namespace tarnwell
