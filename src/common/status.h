#pragma once
// How every layer from the platform seam up tells what failed: a Status holds the
// Windows error code of the call that failed (or another non-zero code for a failure
// that is not a system call's) and the description a person reads; a Result<T> holds a
// value or the Status of why there is none. Nothing throws across the seam: a
// registry, file or desktop call that fails returns its Status. Both must be looked at:
// a caller that means to drop one says so with a cast to void and its reason.
#include <string>
#include <utility>
#include <variant>

namespace tarnwell {

class [[nodiscard]] Status {
public:
    // Success.
    Status() = default;
    // A registry call's own status: success when code is 0 (ERROR_SUCCESS).
    explicit Status(long code) : code_(code) {}
    Status(long code, std::string description)
        : code_(code), description_(std::move(description)) {}

    // A failure that is no system call's: a file's content, a program's own limit.
    static constexpr long not_a_system_error = -1;
    static Status failure(std::string description) {
        return Status(not_a_system_error, std::move(description));
    }

    bool ok() const { return code_ == 0; }
    long code() const { return code_; }
    // What a person reads: the system's message, or the failure's own words.
    const std::string& description() const { return description_; }

    friend bool operator==(const Status& a, long code) { return a.code_ == code; }
    friend bool operator!=(const Status& a, long code) { return a.code_ != code; }

private:
    long code_ = 0;
    std::string description_;
};

// A value, or the Status of why there is none.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : held_(std::move(value)) {}           // NOLINT(google-explicit-constructor)
    Result(Status failure) : held_(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

    bool ok() const { return held_.index() == 0; }
    const T& value() const& { return std::get<0>(held_); }
    T& value() & { return std::get<0>(held_); }
    T&& value() && { return std::get<0>(std::move(held_)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }
    T value_or(T fallback) const { return ok() ? value() : fallback; }
    // The failure; success when there is a value.
    Status status() const { return ok() ? Status() : std::get<1>(held_); }

private:
    std::variant<T, Status> held_;
};

}  // namespace tarnwell
