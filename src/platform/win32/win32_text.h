#pragma once
// Descriptions of Windows errors, in the system's own words, for run_time_error.
#include <string>

namespace tarnwell {

// The system's message for a Windows error code, without its trailing line break.
std::string system_error_text(unsigned long code);

}  // namespace tarnwell
