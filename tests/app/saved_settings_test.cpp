#include <gtest/gtest.h>

#include <algorithm>
#include <new>

#include "app/report_fixture.h"

namespace tarnwell::test {
namespace {

using SavedSettings = ReportFixture;

// The window-size section as written when no size is stored.
const std::vector<std::string> empty_form_sizes = {"",
                                                   "Saved Form Sizes",
                                                   "",
                                                   "PostspecsFormSize: ",
                                                   "Solidane FormSize: ",
                                                   "3DFacetFilesFormSize: ",
                                                   "3DFilesFormSize: ",
                                                   "3DSectionsFormSize: ",
                                                   "Tessilon FormSize: ",
                                                   "Swathmark FormSize: ",
                                                   "Loomwright FormSize: "};

std::vector<std::string> joined(std::vector<std::string> first,
                                const std::vector<std::string>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

// The report's lines from the first one equal to `from` to the end.
std::vector<std::string> tail_from(const std::vector<std::string>& lines, const std::string& from) {
    const auto start = std::find(lines.begin(), lines.end(), from);
    return std::vector<std::string>(start, lines.end());
}

TEST_F(SavedSettings, ProjectionNameGuardsItsParameters) {
    setting("Quillmere\\Gantrel", "Projection", "Parameters1", "p1");
    form.Form_Load();
    EXPECT_EQ(view.text.find("Projection"), std::string::npos);

    setting("Quillmere\\Gantrel", "Selected Projection", "Name", "UTM 32N");
    form.Form_Load();
    EXPECT_EQ(tail_from(body(), "Projection Name: UTM 32N"),
              joined({"Projection Name: UTM 32N", "Projection Parameters1: p1",
                      "Projection Parameters2: "},
                     empty_form_sizes));
    const std::vector<std::string> lines = body();
    EXPECT_EQ(*(std::find(lines.begin(), lines.end(), "Projection Name: UTM 32N") - 1), "");
}

TEST_F(SavedSettings, WorkingFoldersAndRecentEntries) {
    setting("Quillmere", "Solidane", "CWD", "C:\\Work");
    setting("Quillmere", "Solidane", "MRU2", "second");
    setting("Quillmere", "Solidane", "MRU5", "fifth");
    setting("Quillmere", "Solidane", "MRU6", "sixth");
    setting("Quillmere", "Solidane", "MRU7", "not read");
    user_value("Quillmere", "QRX_Invernis_setup", "CWD", " D:\\Inv ");
    form.Form_Load();
    EXPECT_EQ(tail_from(body(), "QRX_Invernis_setup CWD: D:\\Inv"),
              joined({"QRX_Invernis_setup CWD: D:\\Inv", "", "Solidane CWD: C:\\Work",
                      "QRX_Invernis_setup MRU: second", "QRX_Invernis_setup MRU: fifth",
                      "QRX_Invernis_setup MRU: sixth"},
                     empty_form_sizes));
}

TEST_F(SavedSettings, ValuesKeepTheirBlanksOnlyInTheSettingsTree) {
    setting("Quillmere", "Plotwick", "PostspecsFormSize", "100,200  ");
    user_value("Quillmere", "Tessilon", "FormSize", "  300,400  ");
    machine_value("Quillmere", "Loomwright", "FormSize", "machine");
    user_value("Quillmere", "Loomwright", "FormSize", "user");
    form.Form_Load();
    EXPECT_TRUE(has_line("PostspecsFormSize: 100,200  "));
    EXPECT_TRUE(has_line("Tessilon FormSize: 300,400"));
    EXPECT_TRUE(has_line("Loomwright FormSize: machine"));
}

TEST_F(SavedSettings, ModuleSettingsOnlyWithAWeighting) {
    setting("Quillmere", "Sondrix", "ZPadding", "5");
    setting("Quillmere", "Sondrinv", "ResistivityIterations", "10");
    form.Form_Load();
    EXPECT_EQ(body().back(), "Loomwright FormSize: ");

    setting("Quillmere", "Sondrix", "Weighting", "L1");
    form.Form_Load();
    const std::vector<std::string> module = tail_from(body(), "Sondrix Settings");
    EXPECT_EQ(module, (std::vector<std::string>{"Sondrix Settings",
                                                "",
                                                "Weighting: L1",
                                                "ZPadding: 5",
                                                "DepthMesh: ",
                                                "ObsFormat: ",
                                                "ZongeDepthMesh: ",
                                                "ZongePolygonClip: ",
                                                "ZongeSearchRadius: ",
                                                "",
                                                "Sondrinv Settings",
                                                "",
                                                "Resistivity Iterations: 10",
                                                "Resistivity ChiFactor: ",
                                                "Resistivity InitialMethod: ",
                                                "Resistivity InitialModel: ",
                                                "Resistivity ReferenceModel: ",
                                                "Resistivity AlphaMethod: ",
                                                "Resistivity Alphas: ",
                                                "Chargeability Iterations: ",
                                                "Chargeability ChiFactor: ",
                                                "Chargeability InitialMethod: ",
                                                "Chargeability InitialModel: ",
                                                "Chargeability ReferenceModel: ",
                                                "Chargeability AlphaMethod: ",
                                                "Chargeability Alphas: "}));
    const std::vector<std::string> lines = body();
    EXPECT_EQ(*(std::find(lines.begin(), lines.end(), "Sondrix Settings") - 1), "");
}

TEST(SavedSettingsLookup, AFailureShowsTheLookupsOwnMessageAndTheReportGoesOn) {
    HostTwin twin;
    // Opening any key of one section raises, as when memory runs out mid-lookup.
    HookedRegistry registry(twin.registry, [](const HookedRegistry::Call& call) {
        if (call.key_path.find("Tessilon") != std::string::npos) throw std::bad_alloc();
        return std::optional<long>();
    });
    Platform platform{registry, twin.files, twin.shell, twin.desktop, twin.support};
    MemoryReportView view;
    ProgramState program;
    Form_Tarnwell_Environment form(platform, view, program);
    form.Form_Load();
    ASSERT_EQ(twin.desktop.messages.size(), 1u);
    EXPECT_EQ(twin.desktop.messages[0],
              "An error occurred while checking the key Tessilon : Out of memory");
    EXPECT_NE(view.text.find("\rTessilon FormSize: \rSwathmark FormSize: "), std::string::npos);
    EXPECT_EQ(view.text.substr(view.text.size() - 22), "\rLoomwright FormSize: ");
}

}  // namespace
}  // namespace tarnwell::test
