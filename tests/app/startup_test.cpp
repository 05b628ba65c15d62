#include <gtest/gtest.h>

#include "app/report_fixture.h"

namespace tarnwell::test {
namespace {

using Startup = ReportFixture;

TEST_F(Startup, HeaderEndsWithItsOwnCrAndTheFirstLineFollowsAfterOneEmptyLine) {
    form.Form_Load();
    const std::string header = "Tarnwell System Environment Report Date: 08/12/2026 14:30:05\r";
    ASSERT_EQ(view.text.substr(0, header.size()), header);
    EXPECT_EQ(view.text.substr(header.size(), 1), "\r");
    EXPECT_EQ(view.text.find('\n'), std::string::npos);
    EXPECT_TRUE(twin.desktop.messages.empty());
}

TEST_F(Startup, FoldersOfTheWindowAreRecorded) {
    form.Form_Load();
    EXPECT_EQ(form.windows_folder, "C:\\windows");
    EXPECT_EQ(form.system_folder, "C:\\windows\\system32");
    EXPECT_EQ(form.user_suite_folder, "C:\\users\\tester\\AppData\\Local\\Tarnwell");
}

TEST_F(Startup, UnresolvedApplicationDataFolderLeavesARelativeSuiteFolder) {
    twin.shell.remove(28);
    form.Form_Load();
    EXPECT_EQ(form.user_suite_folder, "\\Tarnwell");
    EXPECT_TRUE(twin.desktop.messages.empty());
}

TEST_F(Startup, AppendUsesThePanesCurrentTextAsItsBase) {
    view.text = "typed by the user";
    form.append_report_line("one", false);
    form.append_report_line("two", true);
    EXPECT_EQ(view.text, "typed by the user\rone\r\rtwo");
}

TEST_F(Startup, HeaderReplacesWhatThePaneHeld) {
    view.text = "old";
    form.Form_Load();
    EXPECT_EQ(view.text.rfind("Tarnwell System Environment Report Date: ", 0), 0u);
}

TEST_F(Startup, CopyTextPutsExactlyThePanesTextOnTheClipboard) {
    form.Form_Load();
    twin.desktop.clipboard = "something else";
    form.Command_copy_text_Click();
    EXPECT_EQ(twin.desktop.clipboard, view.text);
    form.Command_copy_text_Click();
    EXPECT_EQ(twin.desktop.clipboard, view.text);
}

TEST_F(Startup, DoneEndsTheProgram) {
    form.Command_done_whats_new_Click();
    EXPECT_TRUE(twin.desktop.ended);
}

TEST_F(Startup, AFileSystemFailureStopsTheReportWithItsMessageAndKeepsThePartialReport) {
    twin.files.fail_on("C:\\Bin\\Tarnwell");
    form.Form_Load();
    ASSERT_EQ(twin.desktop.messages.size(), 1u);
    EXPECT_EQ(twin.desktop.messages[0], "An error occurred while locating the file: Device I/O error");
    // The lines before the failing test stay; nothing after it is written.
    EXPECT_EQ(body(), (std::vector<std::string>{"", "VB and VBA Program Settings does not exist"}));
}

}  // namespace
}  // namespace tarnwell::test
