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

TEST(SavedSettingsValues, AreShownWholeByTypeAndNeverAsALineOfTheirOwn) {
    struct Case {
        const char* what;
        bool in_settings_tree;  // else the per-user key
        std::uint32_t type;
        std::string bytes;
        std::string shown;  // what follows the label
        std::string value;  // the finding's value
    };
    const std::string long_text(300, 'x');
    const std::string forged = "C:\\M\r\nPlotwick Path: C:\\Evil\rX";
    const Case cases[] = {
        {"long text", false, reg::type_sz, long_text + '\0', long_text, long_text},
        {"number", false, reg::type_dword, std::string("12\0\0", 4), "12849", "12849"},
        {"small number", true, reg::type_dword, std::string("\x05\0\0\0", 4), "5", "5"},
        {"big-endian number", false, 5, std::string("\0\0\x01\0", 4), "256", "256"},
        {"64-bit number", false, 11, std::string("\0\0\0\0\0\x01\0\0", 8), "1099511627776",
         "1099511627776"},
        {"bytes", false, reg::type_binary, "\x01\n\xff", "01 0A FF", "01 0A FF"},
        {"number of the wrong size", false, reg::type_dword, "\x01\x02\x03", "01 02 03",
         "01 02 03"},
        {"a NUL inside a text", false, reg::type_sz, std::string("ab\0cd\0", 6), "ab", "ab"},
        {"texts of a multi-text", false, reg::type_multi_sz, std::string("a\0b\0\0", 5), "a<LF>b",
         "a\nb"},
        {"line breaks", false, reg::type_sz, forged + '\0',
         "C:\\M<CR><LF>Plotwick Path: C:\\Evil<CR>X", forged},
        {"line breaks in the settings tree", true, reg::type_sz, forged + '\0',
         "C:\\M<CR><LF>Plotwick Path: C:\\Evil<CR>X", forged},
    };
    for (const Case& c : cases) {
        HostTwin twin;
        Platform platform = twin.platform();
        MemoryReportView view;
        ProgramState program;
        Form_Tarnwell_Environment form(platform, view, program);
        const std::string key = c.in_settings_tree
                                    ? "Software\\VB and VBA Program Settings\\Quillmere\\Tessilon"
                                    : "SOFTWARE\\Quillmere\\Tessilon";
        put_value(twin.registry, reg::current_user, key, "FormSize", c.type, c.bytes);
        form.Form_Load();
        EXPECT_NE(view.text.find("\rTessilon FormSize: " + c.shown + "\r"), std::string::npos)
            << c.what;
        EXPECT_EQ(view.text.find("\rPlotwick Path: C:\\Evil"), std::string::npos) << c.what;
        for (const Finding& finding : form.findings()) {
            if (finding.id == "saved.tessilon.form_size") {
                EXPECT_EQ(finding.value, c.value) << c.what;
            }
        }
    }
}

TEST(SavedSettingsLookup, AFailureShowsTheLookupsOwnMessageAndTheReportGoesOn) {
    HostTwin twin;
    // Opening any key of one section raises, as when memory runs out mid-lookup.
    HookedRegistry registry(twin.registry, [](const HookedRegistry::Call& call) {
        if (call.key_path.find("Tessilon") != std::string::npos) throw std::bad_alloc();
        return std::optional<long>();
    });
    Platform platform{registry,     twin.files, twin.shell, twin.desktop,
                      twin.support, registry,   registry};
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
