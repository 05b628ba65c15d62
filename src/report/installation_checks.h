#pragma once
// The installation checks, the report's first section: the suite's keys, folders,
// programs and data files, tested in a fixed order, one finding per line.
#include <string>

#include "common/status.h"
#include "epsg/definitions_location.h"
#include "report/report_sink.h"

namespace tarnwell {

// The folders the checks look in, and the values they settle: the bin folder (the fixed
// suite folder "C:\Bin\Tarnwell"), the App folder (the map display application's, or
// "") and the EPSG definitions file found (or ""). The CommonAppDir folder is given.
struct SuiteState {
    SuiteFolders folders;
    std::string definitions_path;
};

// Runs the checks. A file test or the support library that fails stops them at once and
// its Status is returned; the findings and the state settled so far stand.
Status run_installation_checks(const ReportSources& sources, SuiteState& state, ReportSink& sink);

}  // namespace tarnwell
