#include "app/report_window.h"

namespace tarnwell {

namespace {

// One stored value and the label its report line starts with.
struct LabelledValue {
    const char* section;
    const char* value_name;
    const char* label;
};

}  // namespace

void Form_Tarnwell_Environment::saved_settings_report() {
    // Reads one stored value of the suite; "" when it is stored nowhere.
    const auto stored = [this](const std::string& app, const std::string& section,
                               const std::string& value_name) {
        std::string chkey, chkeyloc;
        std::int32_t ierr = 0;
        get_registry_codes(app, section, value_name, chkey, chkeyloc, ierr);
        return chkey;
    };
    const auto heading = [this](const std::string& text) { append_report_line(text + "\r", true); };
    const std::string quillmere = "Quillmere";

    // 1. The selected projection, with its parameters only when it has a name.
    const std::string gantrel = "Quillmere\\Gantrel";
    const std::string projection = stored(gantrel, "Selected Projection", "Name");
    if (!projection.empty()) {
        append_report_line("Projection Name: " + projection, true);
        for (const char* parameters : {"Parameters1", "Parameters2"})
            append_report_line(std::string("Projection ") + parameters + ": " +
                                   stored(gantrel, "Projection", parameters),
                               false);
    }

    // 2. Working folders.
    for (const LabelledValue& folder : {LabelledValue{"QRX_Invernis_setup", "CWD",
                                                      "QRX_Invernis_setup CWD: "},
                                        LabelledValue{"Solidane", "CWD", "Solidane CWD: "}}) {
        const std::string value = stored(quillmere, folder.section, folder.value_name);
        if (!value.empty()) append_report_line(folder.label + value, true);
    }

    // 3. Recently used entries MRU1 to MRU6; empty ones are left out.
    for (int i = 1; i <= 6; ++i) {
        const std::string entry = stored(quillmere, "Solidane", "MRU" + std::to_string(i));
        if (!entry.empty()) append_report_line("QRX_Invernis_setup MRU: " + entry, false);
    }

    // 4. Window sizes, every line written, with or without a value.
    heading("Saved Form Sizes");
    for (const LabelledValue& size : {
             LabelledValue{"Plotwick", "PostspecsFormSize", "PostspecsFormSize: "},
             LabelledValue{"Solidane", "FormSize", "Solidane FormSize: "},
             LabelledValue{"Plotwick", "3DFacetFilesFormSize", "3DFacetFilesFormSize: "},
             LabelledValue{"Plotwick", "3DFilesFormSize", "3DFilesFormSize: "},
             LabelledValue{"Plotwick", "3DSectionsFormSize", "3DSectionsFormSize: "},
             LabelledValue{"Tessilon", "FormSize", "Tessilon FormSize: "},
             LabelledValue{"Swathmark", "FormSize", "Swathmark FormSize: "},
             LabelledValue{"Loomwright", "FormSize", "Loomwright FormSize: "},
         })
        append_report_line(size.label + stored(quillmere, size.section, size.value_name), false);

    // 5. The 2D DC/IP module and inversion settings, only when a weighting is stored.
    const std::string weighting = stored(quillmere, "Sondrix", "Weighting");
    if (weighting.empty()) return;
    heading("Sondrix Settings");
    append_report_line("Weighting: " + weighting, false);
    for (const char* name : {"ZPadding", "DepthMesh", "ObsFormat", "ZongeDepthMesh",
                             "ZongePolygonClip", "ZongeSearchRadius"})
        append_report_line(std::string(name) + ": " + stored(quillmere, "Sondrix", name), false);

    heading("Sondrinv Settings");
    for (const char* prefix : {"Resistivity", "Chargeability"}) {
        for (const char* stem : {"Iterations", "ChiFactor", "InitialMethod", "InitialModel",
                                 "ReferenceModel", "AlphaMethod", "Alphas"})
            append_report_line(std::string(prefix) + " " + stem + ": " +
                                   stored(quillmere, "Sondrinv", std::string(prefix) + stem),
                               false);
    }
}

}  // namespace tarnwell
