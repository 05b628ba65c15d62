#include "app/win32/report_switch.h"

#include <windows.h>

#include <vector>

#include "app/command_line.h"
#include "platform/win32/owned.h"

namespace tarnwell {

int write_report_to_file(ReportWindowWin32& window, Win32Platform& platform,
                         const std::string& path) {
    std::vector<std::string> messages;
    platform.desktop.recorded_messages = &messages;
    if (!window.create()) {
        write_to_console("The report window could not be made.\r\n");
        return report_not_written;
    }
    window.load_report();
    const Status written =
        write_file(platform.files, path, report_with_messages(window.pane_text(), messages));
    if (!written.ok()) {
        write_to_console("The report could not be written to " + path + ": " +
                         written.description() + "\r\n");
        return report_not_written;
    }
    return messages.empty() ? report_written : report_written_with_messages;
}

int show_usage() {
    write_to_console(usage_text);
    MessageBoxA(nullptr, usage_text, program_title, MB_OK | MB_ICONINFORMATION);
    return 0;
}

void write_to_console(const std::string& text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    AttachedConsole console;
    OwnedHandle console_output;
    // A GUI program has standard output only where its starter redirected it.
    if (out == nullptr || out == INVALID_HANDLE_VALUE || GetFileType(out) == FILE_TYPE_UNKNOWN) {
        if (!console.attach_to_parent()) return;
        console_output.reset(CreateFileA("CONOUT$", GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         0, nullptr));
        if (!console_output) return;
        out = console_output.get();
    }
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace tarnwell
