#include <gtest/gtest.h>

#include <functional>

#include "app/report_fixture.h"

namespace tarnwell::test {
namespace {

using Startup = ReportFixture;

TEST_F(Startup, HeaderReplacesThePaneEndsWithItsOwnCrAndTheFirstLineFollowsAfterOneEmptyLine) {
    view.text = "old";
    form.Form_Load();
    const std::string header = "Tarnwell System Environment Report Date: 08/12/2026 14:30:05\r";
    ASSERT_EQ(view.text.substr(0, header.size()), header);
    EXPECT_EQ(view.text.substr(header.size(), 1), "\r");
    EXPECT_EQ(view.text.find('\n'), std::string::npos);
    EXPECT_TRUE(twin.desktop.messages.empty());
}

TEST_F(Startup, FoldersOfTheWindowAreRecordedAndAnUnresolvedOneLeavesARelativeSuiteFolder) {
    const struct {
        bool shell_resolves;
        const char* user_suite_folder;
    } cases[] = {
        {true, "C:\\users\\tester\\AppData\\Local\\Tarnwell"},
        {false, "\\Tarnwell"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.user_suite_folder);
        if (!c.shell_resolves) twin.shell.remove(28);
        form.Form_Load();
        EXPECT_EQ(form.windows_folder, "C:\\windows");
        EXPECT_EQ(form.system_folder, "C:\\windows\\system32");
        EXPECT_EQ(form.user_suite_folder, c.user_suite_folder);
        EXPECT_TRUE(twin.desktop.messages.empty());
    }
}

TEST_F(Startup, AppendUsesThePanesCurrentTextAsItsBase) {
    view.text = "typed by the user";
    form.append_report_line("one", false);
    form.append_report_line("two", true);
    EXPECT_EQ(view.text, "typed by the user\rone\r\rtwo");
}

TEST_F(Startup, CopyTextPutsExactlyThePanesTextOnTheClipboardAndDoneEndsTheProgram) {
    form.Form_Load();
    twin.desktop.clipboard = "something else";
    form.Command_copy_text_Click();
    EXPECT_EQ(twin.desktop.clipboard, view.text);
    form.Command_copy_text_Click();
    EXPECT_EQ(twin.desktop.clipboard, view.text);
    EXPECT_FALSE(twin.desktop.ended);
    form.Command_done_whats_new_Click();
    EXPECT_TRUE(twin.desktop.ended);
}

// The twin's file layer, where one special folder cannot be looked up.
class FolderLookupFails : public HostFileSystem {
public:
    using HostFileSystem::HostFileSystem;
    Result<std::string> special_folder(int which) override {
        if (which == failing_folder) return Status(2, "The system cannot find the file specified.");
        return HostFileSystem::special_folder(which);
    }
    int failing_folder = -1;
};

// A failure stops the report where it happens, with its message; the lines written
// before it stay.
TEST_F(Startup, AFailureStopsTheReportWithItsMessageAndKeepsThePartialReport) {
    const std::string told = "An error occurred while locating the file: ";
    const struct {
        const char* what;
        std::function<void(FolderLookupFails&)> fail;
        std::string message;
        std::vector<std::string> body;
    } cases[] = {
        {"a file test",
         [](FolderLookupFails& files) { files.fail_on("C:\\Bin\\Tarnwell"); },
         told + "Device I/O error",
         {"", "VB and VBA Program Settings does not exist"}},
        {"the Windows folder",
         [](FolderLookupFails& files) { files.failing_folder = 0; },
         told + "The system cannot find the file specified.",
         {}},
        {"the system folder",
         [](FolderLookupFails& files) { files.failing_folder = 1; },
         told + "The system cannot find the file specified.",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FolderLookupFails files(twin.root);
        c.fail(files);
        Platform failing{twin.registry,    files,           twin.shell, twin.desktop, twin.support,
                         twin.registry_32, twin.registry_64};
        Form_Tarnwell_Environment failing_form(failing, view, program);
        view.text.clear();
        twin.desktop.messages.clear();
        failing_form.Form_Load();
        EXPECT_EQ(twin.desktop.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(body(), c.body);
    }
}

}  // namespace
}  // namespace tarnwell::test
