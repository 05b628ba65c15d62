#pragma once
// The installation checks, the report's first section: the suite's keys, folders,
// programs and data files, tested in a fixed order, one finding per line.
#include <string>

#include "common/status.h"
#include "epsg/definitions_location.h"
#include "platform/platform.h"
#include "report/report_sink.h"
#include "report/suite_lookups.h"

namespace tarnwell {

// The folders the checks look in, and the values they settle: the bin folder (the fixed
// suite folder "C:\Bin\Tarnwell"), the App folder (the map display application's, or
// "") and the EPSG definitions file found (or ""). The CommonAppDir folder is given, and
// so are the Windows and system folders, which no check looks in.
struct SuiteState {
    SuiteFolders folders;
    std::string definitions_path;
    std::string windows_folder;
    std::string system_folder;
};

// Runs the checks. A file test or the support library that fails stops them at once and
// its Status is returned; the findings and the state settled so far stand.
Status run_installation_checks(Platform& platform, SuiteLookups& lookups, SuiteState& state,
                               ReportSink& sink);

}  // namespace tarnwell
