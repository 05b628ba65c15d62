#pragma once
// The description a message box shows for a failure caught by one of the window's traps.
#include <exception>
#include <new>
#include <string>

#include "platform/run_time_error.h"

namespace tarnwell {

inline std::string error_description(const std::exception& failure) {
    if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) return "Out of memory";
    return failure.what();
}

}  // namespace tarnwell
