// The saved settings report, one function per step. Every value is a stored suite
// value; "" means it is stored nowhere.
#include "report/saved_settings.h"

#include <cctype>
#include <string>

#include "report/shown_value.h"

namespace tarnwell {

namespace {

// A stored name as a word of a check id: lower case, with an underscore where a new
// capitalised word starts ("FormSize" gives "form_size", "3DFacetFiles" gives
// "3d_facet_files", "CWD" gives "cwd").
std::string id_word(const std::string& name) {
    std::string word;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto at = [&](std::size_t k) { return static_cast<unsigned char>(name[k]); };
        const bool starts_word =
            i > 0 && std::isupper(at(i)) &&
            (std::islower(at(i - 1)) ||
             (std::isupper(at(i - 1)) && i + 1 < name.size() && std::islower(at(i + 1))));
        if (starts_word) word += '_';
        word += static_cast<char>(std::tolower(at(i)));
    }
    return word;
}

// The id of a stored value of the suite's application: "saved.section.name".
std::string saved_id(const std::string& section, const std::string& value_name) {
    return "saved." + id_word(section) + "." + id_word(value_name);
}

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
    Lookup<std::string> stored(const std::string& section, const std::string& value_name) {
        return lookups_.stored_value("Quillmere", section, value_name);
    }
    // A line that shows a stored value after its label, whether or not there is one.
    void line(const std::string& id, const std::string& label, const Lookup<std::string>& value,
              bool blank_before) {
        const std::string& text = value.answer;
        sink_.add({text.empty() ? FindingState::empty : FindingState::value, text,
                   label + shown_value(text), blank_before, id,
                   text.empty() ? value.failure : Status(), value.view});
    }
    // The line of a stored value of the suite's application.
    void stored_line(const std::string& section, const std::string& value_name,
                     const std::string& label, bool blank_before) {
        line(saved_id(section, value_name), label, stored(section, value_name), blank_before);
    }
    // A heading has an empty line before and after it.
    void heading(const std::string& text) {
        sink_.add({FindingState::heading, "", text + "\r", true, ""});
    }

    // 1. The selected projection, with its parameters only when it has a name.
    void selected_projection() {
        const std::string gantrel = "Quillmere\\Gantrel";
        const Lookup<std::string> name =
            lookups_.stored_value(gantrel, "Selected Projection", "Name");
        if (name.answer.empty()) return;
        line("saved.gantrel.projection_name", "Projection Name: ", name, true);
        for (const char* parameters : {"Parameters1", "Parameters2"})
            line("saved.gantrel." + id_word(parameters),
                 std::string("Projection ") + parameters + ": ",
                 lookups_.stored_value(gantrel, "Projection", parameters), false);
    }

    // 2. Working folders, each only when stored.
    void working_folders() {
        for (const LabelledValue& folder :
             {LabelledValue{"QRX_Invernis_setup", "CWD", "QRX_Invernis_setup CWD: "},
              LabelledValue{"Solidane", "CWD", "Solidane CWD: "}}) {
            const Lookup<std::string> value = stored(folder.section, folder.value_name);
            if (!value.answer.empty())
                line(saved_id(folder.section, folder.value_name), folder.label, value, true);
        }
    }

    // 3. Recently used entries MRU1 to MRU6; empty ones are left out.
    void recent_entries() {
        for (int i = 1; i <= 6; ++i) {
            const std::string name = "MRU" + std::to_string(i);
            const Lookup<std::string> entry = stored("Solidane", name);
            if (!entry.answer.empty())
                line(saved_id("Solidane", name), "QRX_Invernis_setup MRU: ", entry, false);
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
            stored_line(size.section, size.value_name, size.label, false);
    }

    // 5. The 2D DC/IP module and inversion settings, only when a weighting is stored.
    void module_settings() {
        const Lookup<std::string> weighting = stored("Sondrix", "Weighting");
        if (weighting.answer.empty()) return;
        heading("Sondrix Settings");
        line(saved_id("Sondrix", "Weighting"), "Weighting: ", weighting, false);
        for (const char* name : {"ZPadding", "DepthMesh", "ObsFormat", "ZongeDepthMesh",
                                 "ZongePolygonClip", "ZongeSearchRadius"})
            stored_line("Sondrix", name, std::string(name) + ": ", false);

        heading("Sondrinv Settings");
        for (const char* prefix : {"Resistivity", "Chargeability"}) {
            for (const char* stem : {"Iterations", "ChiFactor", "InitialMethod", "InitialModel",
                                     "ReferenceModel", "AlphaMethod", "Alphas"})
                stored_line("Sondrinv", std::string(prefix) + stem,
                            std::string(prefix) + " " + stem + ": ", false);
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
