// The installation's half of the report: the settings tree, the suite's programs and
// support files in the places they are looked for, and the settings folder.
#include <gtest/gtest.h>

#include "app/report_fixture.h"

namespace tarnwell::test {
namespace {

using Installation = ReportFixture;

const std::string bin = "C:\\Bin\\Tarnwell";
const std::string common_app = "C:\\users\\tester\\AppData\\Local\\Tarnwell";
const std::string app = "C:\\Apps\\Plotwick";

// Whether the report's text holds `part`; shown with the report when it does not.
::testing::AssertionResult holds(const std::string& text, const std::string& part) {
    if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no \"" << part << "\" in \"" << text << '"';
}

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

// A support file in one place or two, with or without plotwick.exe on PATH (whose folder
// is the App folder): the first place holding it gives its line.
struct PlaceCase {
    std::string file, folder;
    bool plotwick_on_path;
    std::string text;                   // the line, with what stands around it
    std::string also_in = "";           // a second place holding the file
    std::string definitions_path = "";  // the EPSG commands' file, which enables them
};

void PrintTo(const PlaceCase& c, std::ostream* out) { *out << c.file << " in " << c.folder; }

class SupportFilePlaces : public ReportFixture, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(SupportFilePlaces, FirstPlaceHoldingTheFileGivesTheLine) {
    for (const std::string& folder : {GetParam().folder, GetParam().also_in})
        if (!folder.empty()) twin.files.make_file(folder + "\\" + GetParam().file);
    if (GetParam().plotwick_on_path) program_in(app, "plotwick.exe");
    form.Form_Load();
    EXPECT_TRUE(holds(view.text, GetParam().text));
    EXPECT_EQ(program.epsg_definitions_path, GetParam().definitions_path);
    const bool enabled = !GetParam().definitions_path.empty();
    EXPECT_EQ(view.test_enabled, enabled);
    EXPECT_EQ(view.update_enabled, enabled);
}

const std::string geotiff = "GeoTIFF_PCS_codes.csv", definitions = "QRX_EPSG_definitions.dat";

INSTANTIATE_TEST_SUITE_P(
    Installation, SupportFilePlaces,
    ::testing::Values(
        PlaceCase{geotiff, bin, false,
                  "\r\rPlotwick GeoTIFF_PCS_codes file exists in bin folder\r"},
        PlaceCase{geotiff, common_app, false,
                  "\r\rPlotwick GeoTIFF_PCS_codes file exists in CommonAppDir folder\r"},
        PlaceCase{geotiff, app, true, "\r\rPlotwick GeoTIFF_PCS_codes file exists in App folder\r"},
        // The bin folder is searched first, the per-user folder before the App folder.
        PlaceCase{geotiff, common_app, false,
                  "\r\rPlotwick GeoTIFF_PCS_codes file exists in bin folder\r", bin},
        PlaceCase{geotiff, app, true,
                  "\r\rPlotwick GeoTIFF_PCS_codes file exists in CommonAppDir folder\r",
                  common_app},
        // Without plotwick.exe there is no App folder to look in.
        PlaceCase{geotiff, app, false, "\r\rPlotwick GeoTIFF_PCS_codes file does not exist\r"},
        // The definitions file's line follows the database's without an empty line.
        PlaceCase{definitions, bin, false,
                  "\rEPSG_projections_database file does not exist\r"
                  "Plotwick QRX_EPSG_definitions file exists in bin folder\r",
                  common_app, bin + "\\" + definitions},
        PlaceCase{definitions, app, true,
                  "\rPlotwick QRX_EPSG_definitions file exists in App folder\r", "",
                  app + "\\" + definitions}));

TEST_F(Installation, ProjectionsDatabaseFromTheRegistryWinsOverFiles) {
    twin.files.make_file(bin + "\\EPSG_v10.mdb");
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
    twin.files.make_file(common_app + "\\epsg_v9.MDB");
    twin.files.make_folder(bin + "\\EPSG_folder.mdb");  // a folder is no match
    form.Form_Load();
    EXPECT_TRUE(has_line("Plotwick EPSG_projections_database file exists in CommonAppDir folder"));
    EXPECT_EQ(value_of("epsg_projections_database"), common_app + "\\epsg_v9.MDB");
}

// The settings folder's section: the folder's files, and the projections and datum
// transforms saved in the settings tree, counted; a list file is tested only without them.
struct SettingsFolderCase {
    bool files;  // plotwick.ini, the colour tables and both list files
    int projections;
    int datum_transforms;
    std::string text;  // what follows the folder's line
};

void PrintTo(const SettingsFolderCase& c, std::ostream* out) {
    *out << c.projections << " projections, " << c.datum_transforms << " datum transforms";
}

class SettingsFolder : public ReportFixture,
                       public ::testing::WithParamInterface<SettingsFolderCase> {};

TEST_P(SettingsFolder, CountsSavedEntriesAndTestsTheListFilesOnlyWithoutThem) {
    twin.files.make_folder(bin);
    if (GetParam().files) {
        for (const char* file : {"plotwick.ini", "projection.csv", "datum.csv"})
            twin.files.make_file(bin + "\\" + file);
        twin.files.make_folder(bin + "\\tbl");
    }
    for (int i = 0; i < GetParam().projections; ++i)
        setting("Quillmere", "Projection", "EPSG:" + std::to_string(32632 + i), "UTM");
    for (int i = 0; i < GetParam().datum_transforms; ++i)
        setting("Quillmere", "DatumTransform", "ED50 " + std::to_string(i), "1133");
    setting("Quillmere", "DatumTransform", "", "default values do not count");
    form.Form_Load();
    EXPECT_TRUE(holds(view.text,
                      "\r\rPlotwick Settings Folder C:\\Bin\\Tarnwell exists\r" + GetParam().text));
}

const std::string files_found =
    "Plotwick Ini file plotwick.ini exists\r"
    "Plotwick colour table folder C:\\Bin\\Tarnwell\\tbl exists\r\r";

INSTANTIATE_TEST_SUITE_P(
    Installation, SettingsFolder,
    ::testing::Values(
        SettingsFolderCase{
            false, 0, 0,
            "Plotwick Ini file plotwick.ini does not exist\r"
            "Plotwick colour table folder C:\\Bin\\Tarnwell\\tbl does not exist\r\r"
            "No saved projections\rPlotwick projection.csv file does not exist\r\r"
            "No saved datum transforms:\rPlotwick datum.csv file does not exist\r\r"},
        SettingsFolderCase{true, 2, 0,
                           files_found +
                               "Number of saved projections: 2\r\r"
                               "No saved datum transforms:\rPlotwick datum.csv file exists\r"},
        SettingsFolderCase{true, 1, 1,
                           files_found + "Number of saved projections: 1\r\r"
                                         "Number of saved datum transforms: 1\r\r"},
        SettingsFolderCase{true, 0, 3,
                           files_found +
                               "No saved projections\rPlotwick projection.csv file exists\r\r"
                               "Number of saved datum transforms: 3\r\r"}));

TEST_F(Installation, MissingSupportLibraryStopsAfterTheTarnwellFolderLine) {
    twin.support.installed = false;
    twin.files.make_file(bin + "\\QRX_EPSG_definitions.dat");
    form.Form_Load();
    EXPECT_EQ(body(), (std::vector<std::string>{"", "VB and VBA Program Settings does not exist",
                                                "", "Tarnwell Folder exists"}));
    ASSERT_EQ(twin.desktop.messages.size(), 1u);
    EXPECT_EQ(twin.desktop.messages[0],
              "An error occurred while locating the file: File not found: QRX_Intel_Win32.dll");
    EXPECT_FALSE(view.test_enabled || view.update_enabled);
}

TEST_F(Installation, FailureAfterTheDefinitionsFileKeepsTheButtonsEnabled) {
    twin.files.make_file(bin + "\\QRX_EPSG_definitions.dat");
    twin.files.fail_on("C:\\Bin\\Tarnwell\\plotwick.ini");
    form.Form_Load();
    EXPECT_TRUE(view.test_enabled && view.update_enabled);
    EXPECT_EQ(body().back(), "Plotwick Settings Folder C:\\Bin\\Tarnwell exists");
    EXPECT_EQ(twin.desktop.messages.size(), 1u);
}

}  // namespace
}  // namespace tarnwell::test
