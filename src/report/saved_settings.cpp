// The saved settings report, one function per step. Every value is a stored suite
// value; "" means it is stored nowhere.
#include "report/saved_settings.h"

#include <string>

namespace tarnwell {

namespace {

// One stored value of the suite's own application and the label its line starts with.
struct LabelledValue {
    const char* section;
    const char* value_name;
    const char* label;
};

class SavedSettingsReport {
public:
    SavedSettingsReport(SuiteLookups& lookups, ReportSink& sink) : lookups_(lookups), sink_(sink) {}

    void run() {
        selected_projection();
        working_folders();
        recent_entries();
        window_sizes();
        module_settings();
    }

private:
    std::string stored(const std::string& section, const std::string& value_name) {
        return lookups_.stored_value("Quillmere", section, value_name);
    }
    // A line that shows a stored value after its label, whether or not there is one.
    void line(const std::string& label, const std::string& value, bool blank_before) {
        sink_.add({value.empty() ? FindingState::empty : FindingState::value, value, label + value,
                   blank_before});
    }
    // A heading has an empty line before and after it.
    void heading(const std::string& text) {
        sink_.add({FindingState::heading, "", text + "\r", true});
    }

    // 1. The selected projection, with its parameters only when it has a name.
    void selected_projection() {
        const std::string gantrel = "Quillmere\\Gantrel";
        const std::string name = lookups_.stored_value(gantrel, "Selected Projection", "Name");
        if (name.empty()) return;
        line("Projection Name: ", name, true);
        for (const char* parameters : {"Parameters1", "Parameters2"})
            line(std::string("Projection ") + parameters + ": ",
                 lookups_.stored_value(gantrel, "Projection", parameters), false);
    }

    // 2. Working folders, each only when stored.
    void working_folders() {
        for (const LabelledValue& folder :
             {LabelledValue{"QRX_Invernis_setup", "CWD", "QRX_Invernis_setup CWD: "},
              LabelledValue{"Solidane", "CWD", "Solidane CWD: "}}) {
            const std::string value = stored(folder.section, folder.value_name);
            if (!value.empty()) line(folder.label, value, true);
        }
    }

    // 3. Recently used entries MRU1 to MRU6; empty ones are left out.
    void recent_entries() {
        for (int i = 1; i <= 6; ++i) {
            const std::string entry = stored("Solidane", "MRU" + std::to_string(i));
            if (!entry.empty()) line("QRX_Invernis_setup MRU: ", entry, false);
        }
    }

    // 4. Window sizes, every line written, with or without a value.
    void window_sizes() {
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
            line(size.label, stored(size.section, size.value_name), false);
    }

    // 5. The 2D DC/IP module and inversion settings, only when a weighting is stored.
    void module_settings() {
        const std::string weighting = stored("Sondrix", "Weighting");
        if (weighting.empty()) return;
        heading("Sondrix Settings");
        line("Weighting: ", weighting, false);
        for (const char* name : {"ZPadding", "DepthMesh", "ObsFormat", "ZongeDepthMesh",
                                 "ZongePolygonClip", "ZongeSearchRadius"})
            line(std::string(name) + ": ", stored("Sondrix", name), false);

        heading("Sondrinv Settings");
        for (const char* prefix : {"Resistivity", "Chargeability"}) {
            for (const char* stem : {"Iterations", "ChiFactor", "InitialMethod", "InitialModel",
                                     "ReferenceModel", "AlphaMethod", "Alphas"})
                line(std::string(prefix) + " " + stem + ": ",
                     stored("Sondrinv", std::string(prefix) + stem), false);
        }
    }

    SuiteLookups& lookups_;
    ReportSink& sink_;
};

}  // namespace

void run_saved_settings_report(SuiteLookups& lookups, ReportSink& sink) {
    SavedSettingsReport(lookups, sink).run();
}

}  // namespace tarnwell
