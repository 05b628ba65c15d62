#pragma once
// A run-time failure inside the window's procedures. The window's error traps catch
// it and show its description in their message box.
#include <stdexcept>
#include <string>

namespace tarnwell {

class run_time_error : public std::runtime_error {
public:
    explicit run_time_error(const std::string& description) : std::runtime_error(description) {}
    std::string description() const { return what(); }
};

}  // namespace tarnwell
