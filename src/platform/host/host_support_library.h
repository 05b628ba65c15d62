#pragma once
// The host twin of the support library: FINDFILEINPATH as a plain function over the
// host file system and a PATH list, or a library that cannot be loaded.
#include <string>

#include "platform/host/host_file_system.h"
#include "platform/support_library.h"

namespace tarnwell {

class HostSupportLibrary : public SupportLibrary {
public:
    explicit HostSupportLibrary(HostFileSystem& files) : files_(files) {}

    Result<std::int32_t> FINDFILEINPATH(const char* name, std::int32_t name_length, char* buffer,
                                        std::int32_t buffer_length) override;

    // Test set-up: the folders searched, ";"-separated as in PATH; whether the
    // library can be loaded at all.
    std::string path;
    bool installed = true;

private:
    HostFileSystem& files_;
};

}  // namespace tarnwell
