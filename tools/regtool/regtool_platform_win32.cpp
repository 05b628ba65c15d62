#include <cstdio>
#include <cstdlib>

#include "platform/run_time_error.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "regtool_platform.h"

namespace tarnwell {

namespace {

// regtool has no window: what a message box would say goes to standard error, and
// there are no window events to let run. Leaving the window libraries out keeps the
// program's start as quick as a console program's can be.
class ConsoleDesktop : public Desktop {
public:
    void message_box(const std::string& text, MessageKind) override {
        std::fprintf(stderr, "regtool: %s\n", text.c_str());
    }
    void set_clipboard_text(const std::string&) override {
        throw run_time_error("regtool has no clipboard");
    }
    void process_pending_events() override {}
    std::string general_date_now() override { return {}; }
    void end_program() override { std::exit(0); }
};

}  // namespace

struct RegtoolPlatform::Parts {
    Win32Registry registry;
    Win32FileSystem files;
    ConsoleDesktop desktop;
};

RegtoolPlatform::RegtoolPlatform() : parts_(std::make_unique<Parts>()) { restrict_dll_search(); }
RegtoolPlatform::~RegtoolPlatform() = default;

RegistryApi& RegtoolPlatform::registry() { return parts_->registry; }
FileSystem& RegtoolPlatform::files() { return parts_->files; }
Desktop& RegtoolPlatform::desktop() { return parts_->desktop; }

std::string RegtoolPlatform::file_path(const std::string& argument) const { return argument; }

}  // namespace tarnwell
