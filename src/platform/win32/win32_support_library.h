#pragma once
// The suite maker's support library on Windows, loaded at the first call from the
// program's own folder by full path: never from the current folder or a folder on
// PATH. Whichever copy stands beside the program, ours or the maker's, is the one used.
#include "platform/support_library.h"
#include "platform/win32/owned.h"

namespace tarnwell {

class Win32SupportLibrary : public SupportLibrary {
public:
    Result<std::int32_t> FINDFILEINPATH(const char* name, std::int32_t name_length, char* buffer,
                                        std::int32_t buffer_length) override;

private:
    using find_file_function = std::int32_t(__stdcall*)(const char*, std::int32_t, char*,
                                                        std::int32_t);
    OwnedModule module_;
    find_file_function find_ = nullptr;
};

}  // namespace tarnwell
