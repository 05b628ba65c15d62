#include "app/win32/report_switch.h"

#include "windows_api/windows_api.h"

#include <algorithm>
#include <exception>
#include <new>
#include <vector>

#include "app/pane_text.h"
#include "app/report_text_file.h"
#include "app/win32/workstation_identity.h"
#include "common/text.h"
#include "platform/win32/owned.h"
#include "platform/win32/win32_text.h"
#include "report/environment_report.h"
#include "report/report_json.h"
#include "report/report_summary.h"

namespace tarnwell {

namespace {

bool is_existing_file_error(const Status& status) {
    return status == ERROR_FILE_EXISTS || status == ERROR_ALREADY_EXISTS;
}

// Why the path can never hold the new file, or "" when it may. A folder or a device
// stands at such a path already, yet nothing was collected there before.
std::string unusable_destination(FileSystem& files, const std::string& path) {
    if (names_a_device(path)) return "the name is that of a device, not of a file";
    if (files.folder_exists(path).value_or(false)) return "a folder has that name";
    return {};
}

// Writes a new file for "/report" or "/summary" and gives the run's exit code: the one
// for an existing file (collected before) apart from every other failure to create it.
int write_new_file(Win32Platform& platform, const std::string& path, const std::string& bytes,
                   bool with_messages) {
    std::string reason = unusable_destination(platform.files, path);
    Status written = Status::failure(reason);
    if (reason.empty()) {
        written = write_file(platform.files, path, bytes);
        if (written.ok()) return with_messages ? report_written_with_messages : report_written;
        reason = written.description();
    }
    write_to_console("The file could not be written to " + path + ": " + reason + "\r\n",
                     ConsoleStream::error);
    return is_existing_file_error(written) ? report_exists_already : report_not_created;
}

// What the report adds to its messages when lookups failed: the lines of those checks
// read as if nothing were stored, and the report is not a complete one.
std::string failed_lookups_message(const std::vector<Finding>& findings) {
    std::string failed;
    for (const Finding& finding : findings) {
        const long code = finding.lookup_failure.code();
        if (code == 0) continue;
        failed += (failed.empty() ? "" : "; ") + finding.id + " (error " + std::to_string(code) +
                  ": " + system_error_text(static_cast<unsigned long>(code)) + ")";
    }
    if (failed.empty()) return failed;
    return "Some lookups failed, and their lines read as if nothing were stored: " + failed;
}

// The names of the folder's JSON reports, in name order so that the summary's rows and
// columns come out the same on every run. A file named only ".json" is no report.
Result<std::vector<std::string>> json_files_in(FileSystem& files, const std::string& folder) {
    Result<std::vector<std::string>> names = files.list_files(folder, "*.json");
    if (names.ok())
        names->erase(std::remove_if(names->begin(), names->end(),
                                    [](const std::string& name) { return name.size() <= 5; }),
                     names->end());
    return names;
}

// The report's lines and findings as the window's pane would gather them.
class GatheredReport : public ReportSink {
public:
    std::string text;
    std::vector<Finding> findings;

    void start(const std::string& header) override { text = header; }
    void add(const Finding& finding) override {
        text += finding.blank_before ? "\r\r" : "\r";
        text += finding.line;
        findings.push_back(finding);
    }
};

// Runs "/report" or "/summary". A failure with no Status of its own, running out of
// memory above all, still ends with its reason and the exit code of a file not written,
// never with that of a command line that could not be read.
template <class Command>
int with_failures_told(const char* what, Command command) {
    const std::string failed = std::string("The ") + what + " could not be made: ";
    try {
        return command();
    } catch (const std::bad_alloc&) {
        write_to_console(failed + "not enough memory\r\n", ConsoleStream::error);
    } catch (const std::exception& failure) {
        write_to_console(failed + failure.what() + "\r\n", ConsoleStream::error);
    }
    return report_not_created;
}

}  // namespace

int write_report_to_file(Win32Platform& platform, const std::string& path,
                         CommandLine::Format format) {
    return with_failures_told("report", [&] {
        std::vector<std::string> messages;
        platform.desktop.recorded_messages = &messages;
        Platform& facilities = platform.platform();
        SuiteState suite;
        GatheredReport report;
        write_environment_report(facilities, suite, report);
        if (std::string failed = failed_lookups_message(report.findings); !failed.empty())
            messages.push_back(std::move(failed));
        const std::string text = as_pane_holds(report.text);
        const std::string bytes =
            format == CommandLine::Format::json
                ? report_json(this_workstation(), text, messages, report.findings)
                : report_text_file_bytes(report_with_messages(text, messages));
        const int code = write_new_file(platform, path, bytes, !messages.empty());
        // With no file to hold them, the messages go to the console after the reason.
        if (code == report_exists_already || code == report_not_created)
            for (const std::string& message : messages)
                write_to_console(message + "\r\n", ConsoleStream::error);
        return code;
    });
}

int write_summary_to_file(Win32Platform& platform, const std::string& folder,
                          const std::string& path) {
    return with_failures_told("summary", [&] {
        std::vector<std::string> unread;
        const Result<std::vector<std::string>> names = json_files_in(platform.files, folder);
        if (!names.ok()) unread.push_back(folder + ": " + names.status().description());
        ReportSummary summary;
        for (const std::string& name : names.value_or({})) {
            Result<std::unique_ptr<ReadableFile>> file =
                platform.files.open_for_reading(folder + "\\" + name);
            if (file.ok()) {
                summary.add_report(name, **file);
            } else {
                unread.push_back(name + ": " + file.status().description());
            }
        }
        unread.insert(unread.end(), summary.messages().begin(), summary.messages().end());
        for (const std::string& message : unread)
            write_to_console(message + "\r\n", ConsoleStream::error);
        return write_new_file(platform, path, summary.csv(), !unread.empty());
    });
}

int show_version() {
    write_to_console(std::string("tarnwell_env ") + program_version + "\r\n");
    return 0;
}

int show_usage() {
    write_to_console(usage_text);
    MessageBoxW(nullptr, wide(usage_box_text).c_str(), wide(program_title).c_str(),
                MB_OK | MB_ICONINFORMATION);
    return 0;
}

void write_to_console(const std::string& text, ConsoleStream stream) {
    HANDLE out =
        GetStdHandle(stream == ConsoleStream::error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    AttachedConsole console;
    OwnedHandle console_output;
    // A GUI program has standard output only where its starter redirected it.
    if (out == nullptr || out == INVALID_HANDLE_VALUE || GetFileType(out) == FILE_TYPE_UNKNOWN) {
        if (!console.attach_to_parent()) return;
        console_output.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         0, nullptr));
        if (!console_output) return;
        out = console_output.get();
    }
    DWORD written = 0;
    // A console shows every character in UTF-16; a file or a pipe gets the UTF-8 bytes.
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) {
        const std::wstring shown = wide(text);
        WriteConsoleW(out, shown.data(), static_cast<DWORD>(shown.size()), &written, nullptr);
        return;
    }
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace tarnwell
