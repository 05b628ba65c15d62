#pragma once
// A Status as tests print it: its code, and its description when it has one.
#include <ostream>

#include "common/status.h"

namespace tarnwell {

inline std::ostream& operator<<(std::ostream& out, const Status& status) {
    out << status.code();
    if (!status.description().empty()) out << " (" << status.description() << ")";
    return out;
}

}  // namespace tarnwell
