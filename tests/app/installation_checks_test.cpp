#include <gtest/gtest.h>

#include <algorithm>

#include "app/report_fixture.h"

namespace tarnwell::test {
namespace {

using Installation = ReportFixture;

const char* const bin = "C:\\Bin\\Tarnwell";
const char* const common_app = "C:\\users\\tester\\AppData\\Local\\Tarnwell";
const char* const app = "C:\\Apps\\Plotwick";

TEST_F(Installation, BareMachineGivesEveryMissingLineInOrder) {
    form.Form_Load();
    EXPECT_EQ(view.text, report_from_file("bare_machine_report.txt", "08/12/2026 14:30:05"));
    EXPECT_FALSE(view.test_enabled);
    EXPECT_FALSE(view.update_enabled);
    EXPECT_EQ(program.epsg_definitions_path, "");
    EXPECT_TRUE(twin.desktop.messages.empty());
}

TEST_F(Installation, SettingsTreeAndTheMakersBranch) {
    const std::string tree = "Software\\VB and VBA Program Settings";
    make_key(reg::current_user, tree);
    form.Form_Load();
    EXPECT_EQ(line_after("VB and VBA Program Settings exists"),
              "Quillmere Settings does not exist");

    make_key(reg::current_user, tree + "\\Quillmere");
    form.Form_Load();
    EXPECT_EQ(line_after("VB and VBA Program Settings exists"), "Quillmere Settings key exists");
}

TEST_F(Installation, ProgramsFoundOnPath) {
    program_in(app, "plotwick.exe");
    program_in("C:\\Apps\\Solidane", "SOLIDANE.EXE");  // found whatever its letter case
    form.Form_Load();
    EXPECT_EQ(form.plotwick_folder, app);
    EXPECT_TRUE(has_line("Plotwick Path: C:\\Apps\\Plotwick"));
    // The other programs' lines show the buffer as returned: path, name, trailing blanks.
    std::string solidane = "C:\\Apps\\Solidane\\SOLIDANE.EXE";
    solidane.resize(256, ' ');
    EXPECT_TRUE(has_line("Solidane Path: " + solidane));
    EXPECT_EQ(value_of("program.solidane"), "C:\\Apps\\Solidane\\SOLIDANE.EXE");
    EXPECT_TRUE(has_line("Ferrolog Path not defined"));
}

struct GeoTiffCase {
    const char* folder;  // where the file is put
    bool plotwick_on_path;
    const char* line;
    const char* also_in = nullptr;  // a second place holding the file
};

class GeoTiffPlaces : public ReportFixture, public ::testing::WithParamInterface<GeoTiffCase> {};

TEST_P(GeoTiffPlaces, FirstPlaceHoldingTheFileGivesTheLine) {
    twin.files.make_file(std::string(GetParam().folder) + "\\GeoTIFF_PCS_codes.csv");
    if (GetParam().also_in != nullptr)
        twin.files.make_file(std::string(GetParam().also_in) + "\\GeoTIFF_PCS_codes.csv");
    if (GetParam().plotwick_on_path) program_in(app, "plotwick.exe");
    form.Form_Load();
    EXPECT_NE(view.text.find(std::string("\r\r") + GetParam().line + "\r"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Installation, GeoTiffPlaces,
    ::testing::Values(
        GeoTiffCase{bin, false, "Plotwick GeoTIFF_PCS_codes file exists in bin folder"},
        GeoTiffCase{common_app, false,
                    "Plotwick GeoTIFF_PCS_codes file exists in CommonAppDir folder"},
        GeoTiffCase{app, true, "Plotwick GeoTIFF_PCS_codes file exists in App folder"},
        // The bin folder is searched first, the per-user folder before the App folder.
        GeoTiffCase{common_app, false, "Plotwick GeoTIFF_PCS_codes file exists in bin folder", bin},
        GeoTiffCase{app, true, "Plotwick GeoTIFF_PCS_codes file exists in CommonAppDir folder",
                    common_app},
        // Without plotwick.exe there is no App folder to look in.
        GeoTiffCase{app, false, "Plotwick GeoTIFF_PCS_codes file does not exist"}));

TEST_F(Installation, ProjectionsDatabaseFromTheRegistryWinsOverFiles) {
    twin.files.make_file(std::string(bin) + "\\EPSG_v10.mdb");
    machine_value("Quillmere", "EPSG_projections_database", "FileName", "  D:\\Data\\EPSG.mdb  ");
    form.Form_Load();
    // The registry value is trimmed and written without an empty line before it.
    EXPECT_EQ(line_after("Plotwick GeoTIFF_PCS_codes file does not exist"),
              "EPSG_projections_database in registry: D:\\Data\\EPSG.mdb");
}

struct LookupCase {
    const char* machine_32;  // null: not stored there
    const char* machine_64;
    const char* user;
    const char* settings;
    const char* line;
    MachineView view;  // the check's view
    // What get_registry_codes leaves in its out-parameters: the place looked at last and
    // ierr, which starts at 7 here and is left alone for a value of the settings tree.
    const char* chkeyloc;
    std::int32_t ierr;
};

class ProjectionsDatabaseLookup : public ReportFixture,
                                  public ::testing::WithParamInterface<LookupCase> {};

TEST_P(ProjectionsDatabaseLookup, FirstNonBlankPlaceWins) {
    const LookupCase& c = GetParam();
    const std::string section = "EPSG_projections_database";
    if (c.machine_32 != nullptr)
        machine_value("Quillmere", section, "FileName", c.machine_32, RegistryView::bits32);
    if (c.machine_64 != nullptr) machine_value("Quillmere", section, "FileName", c.machine_64);
    if (c.user != nullptr) user_value("Quillmere", section, "FileName", c.user);
    if (c.settings != nullptr) setting("Quillmere", section, "FileName", c.settings);
    form.Form_Load();
    EXPECT_TRUE(has_line(c.line));
    for (const Finding& finding : form.findings())
        if (finding.id == "epsg_projections_database") {
            EXPECT_EQ(finding.view, c.view);
        }

    std::string chkey = "stale", chkeyloc;
    std::int32_t ierr = 7;
    form.get_registry_codes("Quillmere", section, "FileName", chkey, chkeyloc, ierr);
    EXPECT_EQ(chkeyloc, c.chkeyloc);
    EXPECT_EQ(ierr, c.ierr);
}

constexpr const char* machine = "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\";

INSTANTIATE_TEST_SUITE_P(
    Installation, ProjectionsDatabaseLookup,
    ::testing::Values(
        LookupCase{"M32.mdb", "M64.mdb", "U.mdb", nullptr,
                   "EPSG_projections_database in registry: M32.mdb", MachineView::bits32, machine,
                   0},
        LookupCase{nullptr, "M.mdb", "U.mdb", "S.mdb",
                   "EPSG_projections_database in registry: M.mdb", MachineView::bits64, machine, 0},
        LookupCase{" ", "   ", "U.mdb", nullptr, "EPSG_projections_database in registry: U.mdb",
                   MachineView::none, "\\HKEY_CURRENT_USER\\SOFTWARE\\", 0},
        // Only the settings tree keeps trailing blanks.
        LookupCase{nullptr, nullptr, nullptr, "S.mdb  ",
                   "EPSG_projections_database in registry: S.mdb  ", MachineView::none,
                   "VB Registry", 7},
        LookupCase{nullptr, nullptr, nullptr, "<no value>",
                   "EPSG_projections_database file does not exist", MachineView::none,
                   "VB Registry", -1},
        LookupCase{nullptr, "   ", "  ", nullptr, "EPSG_projections_database file does not exist",
                   MachineView::none, "VB Registry", -1}));

TEST_F(Installation, ProjectionsDatabaseFilesMatchThePatternInAnyCase) {
    twin.files.make_file(std::string(common_app) + "\\epsg_v9.MDB");
    twin.files.make_folder(std::string(bin) + "\\EPSG_folder.mdb");  // a folder is no match
    form.Form_Load();
    EXPECT_TRUE(has_line("Plotwick EPSG_projections_database file exists in CommonAppDir folder"));
    EXPECT_EQ(value_of("epsg_projections_database"), std::string(common_app) + "\\epsg_v9.MDB");
}

TEST_F(Installation, DefinitionsFileInTheBinFolderWinsAndEnablesBothButtons) {
    twin.files.make_file(std::string(bin) + "\\QRX_EPSG_definitions.dat");
    twin.files.make_file(std::string(common_app) + "\\QRX_EPSG_definitions.dat");
    form.Form_Load();
    EXPECT_EQ(program.epsg_definitions_path, "C:\\Bin\\Tarnwell\\QRX_EPSG_definitions.dat");
    EXPECT_EQ(line_after("EPSG_projections_database file does not exist"),
              "Plotwick QRX_EPSG_definitions file exists in bin folder");
    EXPECT_TRUE(view.test_enabled);
    EXPECT_TRUE(view.update_enabled);
}

TEST_F(Installation, DefinitionsFileInTheOtherPlaces) {
    twin.files.make_file(std::string(app) + "\\QRX_EPSG_definitions.dat");
    program_in(app, "plotwick.exe");
    form.Form_Load();
    EXPECT_EQ(program.epsg_definitions_path, "C:\\Apps\\Plotwick\\QRX_EPSG_definitions.dat");
    EXPECT_TRUE(has_line("Plotwick QRX_EPSG_definitions file exists in App folder"));
    EXPECT_TRUE(view.test_enabled && view.update_enabled);
}

TEST_F(Installation, SettingsFolderWithNothingSaved) {
    twin.files.make_folder(bin);
    form.Form_Load();
    const std::vector<std::string> lines = body();
    const auto start =
        std::find(lines.begin(), lines.end(), "Plotwick Settings Folder C:\\Bin\\Tarnwell exists");
    ASSERT_NE(start, lines.end());
    EXPECT_EQ(*(start - 1), "");
    EXPECT_EQ(std::vector<std::string>(start + 1, start + 10),
              (std::vector<std::string>{
                  "Plotwick Ini file plotwick.ini does not exist",
                  "Plotwick colour table folder C:\\Bin\\Tarnwell\\tbl does not exist", "",
                  "No saved projections", "Plotwick projection.csv file does not exist", "",
                  "No saved datum transforms:", "Plotwick datum.csv file does not exist", ""}));
}

// Saved projections and datum transforms in the settings tree: how many, and the
// lines the settings folder's section ends with.
struct SavedEntriesCase {
    int projections;
    int datum_transforms;
    std::vector<std::string> last_lines;
};

class SavedEntries : public ReportFixture,
                     public ::testing::WithParamInterface<SavedEntriesCase> {};

TEST_P(SavedEntries, AreCountedAndTheListFilesTestedOnlyWithoutThem) {
    twin.files.make_file(std::string(bin) + "\\plotwick.ini");
    twin.files.make_folder(std::string(bin) + "\\tbl");
    twin.files.make_file(std::string(bin) + "\\projection.csv");
    twin.files.make_file(std::string(bin) + "\\datum.csv");
    for (int i = 0; i < GetParam().projections; ++i)
        setting("Quillmere", "Projection", "EPSG:" + std::to_string(32632 + i), "UTM");
    for (int i = 0; i < GetParam().datum_transforms; ++i)
        setting("Quillmere", "DatumTransform", "ED50 " + std::to_string(i), "1133");
    setting("Quillmere", "DatumTransform", "", "default values do not count");
    form.Form_Load();
    const std::vector<std::string> lines = body();
    const auto start =
        std::find(lines.begin(), lines.end(), "Plotwick Ini file plotwick.ini exists");
    ASSERT_NE(start, lines.end());
    std::vector<std::string> expected = {
        "Plotwick Ini file plotwick.ini exists",
        "Plotwick colour table folder C:\\Bin\\Tarnwell\\tbl exists"};
    for (const std::string& line : GetParam().last_lines)
        expected.push_back(line);
    EXPECT_EQ(std::vector<std::string>(start, start + static_cast<long>(expected.size())),
              expected);
}

INSTANTIATE_TEST_SUITE_P(
    Installation, SavedEntries,
    ::testing::Values(
        SavedEntriesCase{2,
                         0,
                         {"", "Number of saved projections: 2", "",
                          "No saved datum transforms:", "Plotwick datum.csv file exists"}},
        SavedEntriesCase{
            1,
            1,
            {"", "Number of saved projections: 1", "", "Number of saved datum transforms: 1", ""}},
        SavedEntriesCase{0,
                         3,
                         {"", "No saved projections", "Plotwick projection.csv file exists", "",
                          "Number of saved datum transforms: 3", ""}}));

TEST_F(Installation, MissingSupportLibraryStopsAfterTheTarnwellFolderLine) {
    twin.support.installed = false;
    twin.files.make_file(std::string(bin) + "\\QRX_EPSG_definitions.dat");
    form.Form_Load();
    EXPECT_EQ(body(), (std::vector<std::string>{"", "VB and VBA Program Settings does not exist",
                                                "", "Tarnwell Folder exists"}));
    ASSERT_EQ(twin.desktop.messages.size(), 1u);
    EXPECT_EQ(twin.desktop.messages[0],
              "An error occurred while locating the file: File not found: QRX_Intel_Win32.dll");
    EXPECT_FALSE(view.test_enabled || view.update_enabled);
}

TEST_F(Installation, FailureAfterTheDefinitionsFileKeepsTheButtonsEnabled) {
    twin.files.make_file(std::string(bin) + "\\QRX_EPSG_definitions.dat");
    twin.files.fail_on("C:\\Bin\\Tarnwell\\plotwick.ini");
    form.Form_Load();
    EXPECT_TRUE(view.test_enabled && view.update_enabled);
    EXPECT_EQ(body().back(), "Plotwick Settings Folder C:\\Bin\\Tarnwell exists");
    EXPECT_EQ(twin.desktop.messages.size(), 1u);
}

}  // namespace
}  // namespace tarnwell::test
