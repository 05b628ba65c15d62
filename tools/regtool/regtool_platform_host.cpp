#include "regtool_platform.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/host/host_file_system.h"
#include "platform/host/host_registry.h"

namespace tarnwell {

namespace fs = std::filesystem;

namespace {

// The twin's drives live under a private folder; drive Z: is a link to the Linux root,
// as under Wine, so that files named on the command line are reached as Z: paths.
fs::path make_root() {
    const fs::path root =
        fs::temp_directory_path() / ("tarnwell-regtool-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    fs::create_directory_symlink("/", root / "z");
    return root;
}

}  // namespace

struct RegtoolPlatform::Parts {
    fs::path root = make_root();
    HostRegistry registry;
    HostFileSystem files{root};

    ~Parts() {
        // The link goes first, so that removing the folder cannot reach the Linux root.
        std::error_code ec;
        fs::remove(root / "z", ec);
        if (!ec) fs::remove_all(root, ec);
    }
};

RegtoolPlatform::RegtoolPlatform() : parts_(new Parts) {}
RegtoolPlatform::~RegtoolPlatform() = default;

RegistryApi& RegtoolPlatform::registry() { return parts_->registry; }
FileSystem& RegtoolPlatform::files() { return parts_->files; }

std::string RegtoolPlatform::file_path(const std::string& argument) const {
    std::error_code ec;
    const fs::path absolute = fs::absolute(argument, ec);
    return "Z:" + (ec ? argument : absolute.string());
}

}  // namespace tarnwell
