// The window's own operations as the window publishes them, over the core: the settings
// table, the EPSG commands' messages, and the clipboard's failure.
#include <gtest/gtest.h>

#include "app/report_fixture.h"
#include "epsg_writer/epsg_writer.h"

namespace tarnwell::test {
namespace {

using WindowProcedures = ReportFixture;
using Table = std::vector<std::array<std::string, 2>>;

TEST_F(WindowProcedures, TheSettingsTableHasARowPerValueAndIsLeftAloneWithoutAny) {
    setting("App", "S", "", "default");
    setting("App", "S", "name", "value");
    setting("App", "S", "   ", "blank");
    make_key(reg::current_user, "Software\\VB and VBA Program Settings\\App\\Empty");
    Table table = {{"kept", "row"}};
    for (const char* section : {"App\\Missing", "App\\Empty"}) {
        EXPECT_EQ(form.GetAllSettingValue(section, table), 0) << section;
        EXPECT_EQ(table, (Table{{"kept", "row"}})) << section;
    }
    EXPECT_EQ(form.GetAllSettingValue("App\\S", table), 1);
    EXPECT_EQ(table, (Table{{"name", "value"}, {"", ""}, {"", ""}}));
}

TEST_F(WindowProcedures, TheTestCommandSaysWhetherTheFileReadsThrough) {
    std::string bytes = epsg_writer::write_file({}).bytes;
    twin.files.make_file("C:\\Bin\\Tarnwell\\QRX_EPSG_definitions.dat", bytes);
    // A negative count in section 3.
    epsg_writer::put_int32(bytes, epsg_writer::write_file({}).block_start[3], -1);
    twin.files.make_file("C:\\bad.dat", bytes);
    form.Form_Load();
    form.Command_test_epsg_Click();
    program.epsg_definitions_path = "C:\\bad.dat";
    form.Command_test_epsg_Click();
    ASSERT_EQ(twin.desktop.messages.size(), 3u);
    EXPECT_EQ(twin.desktop.messages[0],
              "The EPSG definition file C:\\Bin\\Tarnwell\\QRX_EPSG_definitions.dat is valid");
    EXPECT_EQ(
        twin.desktop.messages[1].rfind(
            "An error occurred while reading the EPSG definitions at stage 3 : Invalid count -1",
            0),
        0u)
        << twin.desktop.messages[1];
    EXPECT_EQ(twin.desktop.messages[2], "The EPSG definition file C:\\bad.dat is not valid");
    EXPECT_EQ(twin.desktop.message_kinds,
              (std::vector<MessageKind>{MessageKind::information, MessageKind::error,
                                        MessageKind::error}));
}

TEST_F(WindowProcedures, AFailedCopyIsExplainedAfterTheUpdateCommandsLines) {
    twin.files.make_file("C:\\users\\tester\\AppData\\Local\\Tarnwell\\QRX_EPSG_definitions.dat",
                         "x");
    form.Form_Load();
    form.suite_bin_folder = "C:\\Missing";
    const std::size_t lines_before = body().size();
    form.Command_Update_EPSG_app_location_Click();
    EXPECT_GT(body().size(), lines_before);
    EXPECT_EQ(body().back(), "Plotwick QRX_EPSG_definitions file does not exist");
    ASSERT_EQ(twin.desktop.messages.size(), 1u);
    EXPECT_EQ(twin.desktop.messages[0],
              "An error occurred while copying the EPSG definitions file "
              "C:\\users\\tester\\AppData\\Local\\Tarnwell\\QRX_EPSG_definitions.dat to "
              "C:\\Missing\\QRX_EPSG_definitions.dat: Permission denied");
}

}  // namespace
}  // namespace tarnwell::test
