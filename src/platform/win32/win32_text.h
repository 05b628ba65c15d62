#pragma once
// Windows errors as the Status the layers above get, in the system's own words.
#include <string>

#include "common/status.h"

namespace tarnwell {

// The system's message for a Windows error code, without its trailing line break.
std::string system_error_text(unsigned long code);

// The Status of the Windows call that just failed (GetLastError), with its message.
Status last_error_status();

}  // namespace tarnwell
