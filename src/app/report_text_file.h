#pragma once
// The bytes of a report saved as a text file, for Notepad, findstr, PowerShell and diff
// alike: CR LF line ends; the ANSI code page where it holds every character, as such
// files always were, and otherwise UTF-8 behind a byte-order mark, which Notepad and
// PowerShell's Get-Content take as UTF-8 (without the mark they would read the ANSI
// code page and show other letters).
#include <string>

namespace tarnwell {

std::string report_text_file_bytes(const std::string& report);

}  // namespace tarnwell
