#include <gtest/gtest.h>

#include <new>

#include "app/report_fixture.h"

namespace tarnwell::test {
namespace {

using SavedSettings = ReportFixture;

// The window-size section as written when no size is stored, which ends the report.
const std::string empty_form_sizes =
    "\r\rSaved Form Sizes\r\rPostspecsFormSize: \rSolidane FormSize: \r3DFacetFilesFormSize: \r"
    "3DFilesFormSize: \r3DSectionsFormSize: \rTessilon FormSize: \rSwathmark FormSize: \r"
    "Loomwright FormSize: ";

// The report's text from the first place it holds `start` to its end, or "<none>".
std::string text_from(const std::string& text, const std::string& start) {
    const std::size_t at = text.find(start);
    return at == std::string::npos ? "<none>" : text.substr(at);
}

TEST_F(SavedSettings, ProjectionNameGuardsItsParameters) {
    setting("Quillmere\\Gantrel", "Projection", "Parameters1", "p1");
    form.Form_Load();
    EXPECT_EQ(view.text.find("Projection"), std::string::npos);

    setting("Quillmere\\Gantrel", "Selected Projection", "Name", "UTM 32N");
    form.Form_Load();
    EXPECT_EQ(text_from(view.text, "\r\rProjection Name"),
              "\r\rProjection Name: UTM 32N\rProjection Parameters1: p1\rProjection Parameters2: " +
                  empty_form_sizes);
}

TEST_F(SavedSettings, WorkingFoldersAndRecentEntries) {
    setting("Quillmere", "Solidane", "CWD", "C:\\Work");
    setting("Quillmere", "Solidane", "MRU2", "second");
    setting("Quillmere", "Solidane", "MRU5", "fifth");
    setting("Quillmere", "Solidane", "MRU6", "sixth");
    setting("Quillmere", "Solidane", "MRU7", "not read");
    user_value("Quillmere", "QRX_Invernis_setup", "CWD", " D:\\Inv ");
    form.Form_Load();
    EXPECT_EQ(text_from(view.text, "\rQRX_Invernis_setup CWD"),
              "\rQRX_Invernis_setup CWD: D:\\Inv\r\rSolidane CWD: C:\\Work\r"
              "QRX_Invernis_setup MRU: second\rQRX_Invernis_setup MRU: fifth\r"
              "QRX_Invernis_setup MRU: sixth" +
                  empty_form_sizes);
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
    EXPECT_EQ(text_from(view.text, "\r\rSondrix Settings"),
              "\r\rSondrix Settings\r\rWeighting: L1\rZPadding: 5\rDepthMesh: \rObsFormat: \r"
              "ZongeDepthMesh: \rZongePolygonClip: \rZongeSearchRadius: \r\r"
              "Sondrinv Settings\r\rResistivity Iterations: 10\rResistivity ChiFactor: \r"
              "Resistivity InitialMethod: \rResistivity InitialModel: \r"
              "Resistivity ReferenceModel: \rResistivity AlphaMethod: \rResistivity Alphas: \r"
              "Chargeability Iterations: \rChargeability ChiFactor: \r"
              "Chargeability InitialMethod: \rChargeability InitialModel: \r"
              "Chargeability ReferenceModel: \rChargeability AlphaMethod: \r"
              "Chargeability Alphas: ");
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
        SCOPED_TRACE(c.what);
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
        EXPECT_NE(view.text.find("\rTessilon FormSize: " + c.shown + "\r"), std::string::npos);
        EXPECT_EQ(view.text.find("\rPlotwick Path: C:\\Evil"), std::string::npos);
        for (const Finding& finding : form.findings()) {
            if (finding.id == "saved.tessilon.form_size") {
                EXPECT_EQ(finding.value, c.value);
            }
        }
    }
}

TEST_F(SavedSettings, ALookupFailureShowsItsOwnMessageAndTheReportGoesOn) {
    // Opening any key of one section raises, as when memory runs out mid-lookup.
    HookedRegistry registry(twin.registry, [](const HookedRegistry::Call& call) {
        if (call.key_path.find("Tessilon") != std::string::npos) throw std::bad_alloc();
        return std::optional<long>();
    });
    Platform hooked{registry,     twin.files, twin.shell, twin.desktop,
                    twin.support, registry,   registry};
    Form_Tarnwell_Environment hooked_form(hooked, view, program);
    hooked_form.Form_Load();
    ASSERT_EQ(twin.desktop.messages.size(), 1u);
    EXPECT_EQ(twin.desktop.messages[0],
              "An error occurred while checking the key Tessilon : Out of memory");
    EXPECT_NE(view.text.find("\rTessilon FormSize: \rSwathmark FormSize: "), std::string::npos);
    EXPECT_EQ(view.text.substr(view.text.size() - 22), "\rLoomwright FormSize: ");
}

}  // namespace
}  // namespace tarnwell::test
