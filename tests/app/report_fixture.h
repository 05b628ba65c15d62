#pragma once
// A report window on the host twin, with helpers that prepare a workstation: registry
// values in the three places the report looks, files and folders, programs on PATH.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/memory_report_view.h"
#include "app/report_window.h"
#include "platform/host/host_platform.h"
#include "support/registry_test_support.h"

namespace tarnwell::test {

class ReportFixture : public ::testing::Test {
protected:
    HostTwin twin;
    MemoryReportView view;
    ProgramState program;
    Platform platform = twin.platform();
    Form_Tarnwell_Environment form{platform, view, program};

    void set_text(reg_key root, const std::string& key, const std::string& name,
                  const std::string& value) {
        put_text(twin.registry, root, key, name, value);
    }
    void make_key(reg_key root, const std::string& key) {
        test::make_key(twin.registry, root, key);
    }
    // The places a stored suite value is looked up; the machine's in the twin's own
    // view, the 64-bit one, unless told.
    void machine_value(const std::string& app, const std::string& section, const std::string& name,
                       const std::string& value, RegistryView in = RegistryView::own) {
        put_text(registry_in(platform, in), reg::local_machine, "SOFTWARE\\" + app + "\\" + section,
                 name, value);
    }
    void user_value(const std::string& app, const std::string& section, const std::string& name,
                    const std::string& value) {
        set_text(reg::current_user, "SOFTWARE\\" + app + "\\" + section, name, value);
    }
    void setting(const std::string& app, const std::string& section, const std::string& name,
                 const std::string& value) {
        set_text(reg::current_user,
                 "Software\\VB and VBA Program Settings\\" + app + "\\" + section, name, value);
    }
    // A program the support library finds: the folder goes on PATH.
    void program_in(const std::string& folder, const std::string& file) {
        twin.files.make_file(folder + "\\" + file, "MZ");
        twin.support.path += (twin.support.path.empty() ? "" : ";") + folder;
    }

    // The report after the header, one entry per line ("" for an empty line).
    std::vector<std::string> body() {
        std::vector<std::string> lines;
        std::string line;
        for (char c : view.text) {
            if (c == '\r') {
                lines.push_back(line);
                line.clear();
            } else {
                line += c;
            }
        }
        lines.push_back(line);
        if (!lines.empty()) lines.erase(lines.begin());
        return lines;
    }
    bool has_line(const std::string& wanted) {
        for (const std::string& line : body())
            if (line == wanted) return true;
        return false;
    }
    // The value of the check with that id, or "<none>".
    std::string value_of(const std::string& id) {
        for (const Finding& finding : form.findings())
            if (finding.id == id) return finding.value;
        return "<none>";
    }
    // The line that follows the given one, or "<none>".
    std::string line_after(const std::string& wanted) {
        const std::vector<std::string> lines = body();
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            if (lines[i] == wanted) return lines[i + 1];
        return "<none>";
    }
};

// An expected report kept in tests/data, one report line per line of the file; the
// header's "<date and time>" becomes the given text. The end-to-end tests read the same
// files.
std::string report_from_file(const std::string& name, const std::string& date_and_time);

}  // namespace tarnwell::test
