#pragma once
// The seam between the program's texts and Windows': UTF-8 inside, UTF-16 in every
// call; and Windows errors as the Status the layers above get, in the system's own words.
#include <string>
#include <string_view>

#include "common/status.h"

namespace tarnwell {

// A UTF-8 text as the UTF-16 text the wide (W) calls take.
std::wstring wide(std::string_view utf8);
// A UTF-16 text from a wide call in UTF-8.
std::string narrow(std::wstring_view wide);

// The system's message for a Windows error code, without its trailing line break.
std::string system_error_text(unsigned long code);

// The Status of the Windows call that just failed (GetLastError), with its message.
Status last_error_status();

}  // namespace tarnwell
