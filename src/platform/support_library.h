#pragma once
// The suite maker's support library QRX_Intel_Win32.dll and its FINDFILEINPATH.
#include <cstdint>

#include "common/status.h"

namespace tarnwell {

class SupportLibrary {
public:
    virtual ~SupportLibrary() = default;
    // Finds the file named by the first name_length characters of name; writes its
    // full path into buffer (buffer_length characters, never past them). A result
    // below 1 means not found. Fails when the library or its function cannot be loaded.
    virtual Result<std::int32_t> FINDFILEINPATH(const char* name, std::int32_t name_length,
                                                char* buffer, std::int32_t buffer_length) = 0;
};

}  // namespace tarnwell
