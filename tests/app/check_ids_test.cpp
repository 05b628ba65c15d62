// The checks of a report: one per line, each with the id a collecting script keys on.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "app/report_fixture.h"
#include "report/report_json.h"
#include "report/report_summary.h"

namespace tarnwell::test {
namespace {

// The words of a text, split at spaces.
std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// Every id a report can hold, in report order, as the README documents them.
const std::vector<std::string> every_id = words(
    "settings_tree settings_tree.quillmere suite_folder program.plotwick program.solidane "
    "program.ferrolog program.invernis geotiff_codes epsg_projections_database epsg_definitions "
    "settings_folder settings_folder.ini settings_folder.colour_tables saved_projections "
    "saved_projections.list_file saved_datum_transforms saved_datum_transforms.list_file "
    "saved.gantrel.projection_name saved.gantrel.parameters1 saved.gantrel.parameters2 "
    "saved.qrx_invernis_setup.cwd saved.solidane.cwd saved.solidane.mru1 saved.solidane.mru2 "
    "saved.solidane.mru3 saved.solidane.mru4 saved.solidane.mru5 saved.solidane.mru6 "
    "saved.plotwick.postspecs_form_size saved.solidane.form_size "
    "saved.plotwick.3d_facet_files_form_size saved.plotwick.3d_files_form_size "
    "saved.plotwick.3d_sections_form_size saved.tessilon.form_size saved.swathmark.form_size "
    "saved.loomwright.form_size saved.sondrix.weighting saved.sondrix.z_padding "
    "saved.sondrix.depth_mesh saved.sondrix.obs_format saved.sondrix.zonge_depth_mesh "
    "saved.sondrix.zonge_polygon_clip saved.sondrix.zonge_search_radius "
    "saved.sondrinv.resistivity_iterations saved.sondrinv.resistivity_chi_factor "
    "saved.sondrinv.resistivity_initial_method saved.sondrinv.resistivity_initial_model "
    "saved.sondrinv.resistivity_reference_model saved.sondrinv.resistivity_alpha_method "
    "saved.sondrinv.resistivity_alphas saved.sondrinv.chargeability_iterations "
    "saved.sondrinv.chargeability_chi_factor saved.sondrinv.chargeability_initial_method "
    "saved.sondrinv.chargeability_initial_model saved.sondrinv.chargeability_reference_model "
    "saved.sondrinv.chargeability_alpha_method saved.sondrinv.chargeability_alphas");

class Workstations : public ReportFixture {
protected:
    // Everything the report looks at, there; with no saved projections or datum
    // transforms but their list files, so that every line form appears.
    void fill_every_line(bool saved_entries) {
        const std::string bin = "C:\\Bin\\Tarnwell";
        make_key(reg::current_user, "Software\\VB and VBA Program Settings\\Quillmere");
        for (const char* file : {"plotwick.exe", "Solidane.exe", "Ferrolog.exe", "Invernis.exe"})
            program_in("C:\\Apps", file);
        for (const char* file :
             {"GeoTIFF_PCS_codes.csv", "EPSG_v10.mdb", "QRX_EPSG_definitions.dat", "plotwick.ini",
              "projection.csv", "datum.csv"})
            twin.files.make_file(bin + "\\" + file);
        twin.files.make_folder(bin + "\\tbl");
        if (saved_entries) {
            setting("Quillmere", "Projection", "P1", "x");
            setting("Quillmere", "DatumTransform", "D1", "y");
        }
        setting("Quillmere\\Gantrel", "Selected Projection", "Name", "UTM 32N");
        setting("Quillmere\\Gantrel", "Projection", "Parameters1", "p1");
        for (const char* section : {"QRX_Invernis_setup", "Solidane"})
            setting("Quillmere", section, "CWD", "C:\\Work");
        for (int i = 1; i <= 6; ++i)
            setting("Quillmere", "Solidane", "MRU" + std::to_string(i), "m" + std::to_string(i));
        setting("Quillmere", "Sondrix", "Weighting", "2");
        setting("Quillmere", "Sondrinv", "ChargeabilityAlphas", "0.5");
    }

    std::vector<Finding> checks() {
        std::vector<Finding> checks;
        for (const Finding& finding : form.findings())
            if (finding.state != FindingState::heading) checks.push_back(finding);
        return checks;
    }
    std::vector<std::string> ids() {
        std::vector<std::string> ids;
        for (const Finding& check : checks())
            ids.push_back(check.id);
        return ids;
    }
};

TEST_F(Workstations, EveryLineIsOneCheckInOrderOnEveryWorkstation) {
    for (int setup = 0; setup < 3; ++setup) {
        if (setup > 0) fill_every_line(setup == 2);
        form.Form_Load();
        std::vector<std::string> lines;
        for (const std::string& line : body())
            if (!line.empty() && line != "Saved Form Sizes" && line != "Sondrix Settings" &&
                line != "Sondrinv Settings")
                lines.push_back(line);
        std::vector<std::string> check_lines;
        std::set<std::string> unique;
        const std::regex id_form("[a-z0-9_]+(\\.[a-z0-9_]+)*");
        for (const Finding& check : checks()) {
            check_lines.push_back(check.line);
            EXPECT_TRUE(std::regex_match(check.id, id_form)) << check.id;
            EXPECT_TRUE(unique.insert(check.id).second) << "twice: " << check.id;
        }
        EXPECT_EQ(check_lines, lines) << "workstation " << setup;
    }
}

TEST_F(Workstations, AnIdNamesTheSameCheckWhateverItFound) {
    // The bare workstation, then one where everything is found: the ids stand in the
    // documented order in both, the same id for the same check.
    form.Form_Load();
    std::vector<std::string> bare = ids();
    fill_every_line(false);
    form.Form_Load();
    EXPECT_EQ(ids(), every_id);
    std::vector<std::string> bare_in_order;
    for (const std::string& id : every_id)
        if (std::find(bare.begin(), bare.end(), id) != bare.end()) bare_in_order.push_back(id);
    EXPECT_EQ(bare, bare_in_order);
    EXPECT_EQ(bare.front(), "settings_tree");
}

TEST_F(Workstations, ALookupTheRegistryRefusedIsUnreadableWhileItsLineReadsAsAbsent) {
    fill_every_line(true);
    HookedRegistry registry(twin.registry, [](const HookedRegistry::Call& call) {
        const bool refused = call.key_path.find("Tessilon") != std::string::npos ||
                             call.key_path.find("DatumTransform") != std::string::npos;
        return refused ? std::optional<long>(reg::access_denied) : std::optional<long>();
    });
    Platform denied{registry,     twin.files, twin.shell, twin.desktop,
                    twin.support, registry,   registry};
    Form_Tarnwell_Environment denied_form(denied, view, program);
    denied_form.Form_Load();
    std::map<std::string, Finding> by_id;
    for (const Finding& finding : denied_form.findings())
        by_id[finding.id] = finding;
    EXPECT_EQ(by_id["saved.tessilon.form_size"].line, "Tessilon FormSize: ");
    EXPECT_EQ(by_id["saved.tessilon.form_size"].lookup_failure.code(), reg::access_denied);
    EXPECT_EQ(by_id["saved.swathmark.form_size"].lookup_failure.code(), 0);
    EXPECT_EQ(by_id["saved.solidane.cwd"].state, FindingState::value);
    EXPECT_EQ(by_id["saved.solidane.cwd"].lookup_failure.code(), 0);
    // A settings section the registry refused reads as holding no entries.
    EXPECT_EQ(by_id["saved_datum_transforms"].line, "No saved datum transforms:");
    EXPECT_EQ(by_id["saved_datum_transforms"].lookup_failure.code(), reg::access_denied);
    EXPECT_EQ(by_id["saved_projections"].lookup_failure.code(), 0);
}

TEST_F(Workstations, AKeyTheUserMayOnlyReadReadsAsMissingAndIsUnreadable) {
    fill_every_line(true);
    twin.registry.set_read_only(reg::current_user, "Software\\VB and VBA Program Settings", true);
    form.Form_Load();
    const Finding& tree = form.findings().front();
    EXPECT_EQ(tree.line, "VB and VBA Program Settings does not exist");
    EXPECT_EQ(tree.lookup_failure.code(), reg::access_denied);
    // Reading below it is not refused.
    EXPECT_TRUE(has_line("Projection Name: UTM 32N"));
}

TEST(ReportJson, ChecksCarryStatusValueAndLineAndHeadingsAreNone) {
    const std::vector<Finding> findings = {
        {FindingState::found, "C:\\Bin\\Tarnwell", "Tarnwell Folder exists", true, "suite_folder"},
        {FindingState::heading, "", "Saved Form Sizes\r", true, ""},
        {FindingState::count, "3", "Number of saved projections: 3", true, "saved_projections"},
        {FindingState::empty, "", "Tessilon FormSize: ", false, "saved.tessilon.form_size",
         Status(5)},
        {FindingState::value, "a\"b\tc\xc3\xa9", "X: a\"b\tc\xc3\xa9", false, "saved.x.y", Status(),
         MachineView::bits64},
        {FindingState::missing, "", "Plotwick Path not defined", false, "program.plotwick"},
        {FindingState::value, "", "Y: ", false, "saved.x.empty"},
        {FindingState::value, "\x7f\xe2\x82\xac", "Z: \x7f\xe2\x82\xac", false, "saved.x.z"},
        {FindingState::empty, "", "W: ", false, "saved.x.w"},
    };
    const std::string json =
        report_json({"1.0.0", "WS1", "micha\xc5\x82", "10.0.19045", "2026-12-09T11:00:00Z"},
                    "head\r\rline", {"boom"}, findings);
    // The whole document read back as the summary reads it: every field the table shows.
    ReportSummary summary;
    summary.add_report("r.json", json);
    EXPECT_TRUE(summary.messages().empty()) << summary.messages().front();
    EXPECT_EQ(summary.csv(),
              "\xEF\xBB\xBF"
              "computer,user,generated_utc,version,suite_folder,saved_projections,"
              "saved.tessilon.form_size,saved.x.y,program.plotwick,saved.x.empty,saved.x.z,"
              "saved.x.w\r\n"
              "WS1,micha\xc5\x82,2026-12-09T11:00:00Z,1.0.0,found: C:\\Bin\\Tarnwell,count: 3,"
              "unreadable,\"value: a\"\"b\tc\xc3\xa9\",missing,value: ,value: \x7f\xe2\x82\xac,"
              "empty\r\n");
    for (const char* expected : {
             "\"tool\": \"tarnwell_env\",\n  \"version\": \"1.0.0\",\n  \"computer\": \"WS1\"",
             "\"text\": \"head\\r\\rline\"",
             "\"messages\": [\n    \"boom\"\n  ]",
             "{\"id\": \"suite_folder\", \"status\": \"found\", \"value\": "
             "\"C:\\\\Bin\\\\Tarnwell\", \"line\": \"Tarnwell Folder exists\"}",
             "{\"id\": \"saved_projections\", \"status\": \"count\", \"value\": 3,",
             "{\"id\": \"saved.tessilon.form_size\", \"status\": \"unreadable\", \"value\": null, "
             "\"line\": \"Tessilon FormSize: \", \"error\": 5}",
             "\"value\": \"a\\\"b\\tc\xc3\xa9\", \"view\": \"64\", \"line\"",
         })
        EXPECT_NE(json.find(expected), std::string::npos) << expected << "\nin\n" << json;
    EXPECT_EQ(json.find("Saved Form Sizes"), std::string::npos);
}

}  // namespace
}  // namespace tarnwell::test
