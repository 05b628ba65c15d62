#pragma once
// The suite maker's support library on Windows, loaded by name at the first call with
// the normal search order, so an installed maker's library is the one used.
#include "platform/support_library.h"

namespace tarnwell {

class Win32SupportLibrary : public SupportLibrary {
public:
    ~Win32SupportLibrary() override;
    std::int32_t FINDFILEINPATH(const char* name, std::int32_t name_length, char* buffer,
                                std::int32_t buffer_length) override;

private:
    using find_file_function = std::int32_t(__stdcall*)(const char*, std::int32_t, char*,
                                                        std::int32_t);
    void* module_ = nullptr;
    find_file_function find_ = nullptr;
};

}  // namespace tarnwell
