#pragma once
// A value as a report line shows it. A stored value may hold line breaks; written as
// they are, they would start a new line that looks like one of the report's own.
#include <string>

namespace tarnwell {

// The value with each CR written as "<CR>" and each LF as "<LF>". The marks use angle
// brackets, which no Windows path holds, so that a path such as C:\new\reports reads as
// itself. The JSON report's values keep the exact text.
std::string shown_value(const std::string& value);

}  // namespace tarnwell
