#pragma once
// The report's text as the window's rich-text pane holds it, for the runs that write the
// report without a window: the pane takes a text up to its first NUL and keeps every
// line break, CR LF, LF or CR, as a single CR.
#include <string>
#include <string_view>

namespace tarnwell {

std::string as_pane_holds(std::string_view text);

}  // namespace tarnwell
