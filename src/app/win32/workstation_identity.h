#pragma once
// Who and where a report is written: this computer, the user the program runs as, the
// running Windows and the time now, as the JSON report names them.
#include "report/report_json.h"

namespace tarnwell {

ReportIdentity this_workstation();

}  // namespace tarnwell
