// The installation checks: the first section of the report, one function per step.
#include <array>
#include <cstring>
#include <functional>
#include <vector>

#include "app/report_window.h"
#include "common/text.h"
#include "platform/run_time_error.h"
#include "probes/settings_enumeration.h"

namespace tarnwell {

namespace {

constexpr const char* suite_folder = "C:\\Bin\\Tarnwell";
constexpr const char* settings_tree = "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings";
constexpr std::int32_t search_buffer_length = 256;

// The suite folders in the order every search tries them; nowhere when none holds the
// file.
enum class SuiteFolder { bin, common_app, app, nowhere };

// One report line per outcome of a search, in the order of SuiteFolder.
using LinePerFolder = std::array<const char*, 4>;

class InstallationChecks {
public:
    InstallationChecks(Form_Tarnwell_Environment& form, Platform& platform, ReportView& view,
                       ProgramState& program)
        : form_(form),
          registry_(platform.registry),
          files_(platform.files),
          support_(platform.support),
          view_(view),
          program_(program) {}

    void run() {
        program_settings_keys();
        suite_folder_itself();
        suite_programs();
        geotiff_codes_file();
        projections_database();
        definitions_file();
        settings_folder();
    }

private:
    void line(const std::string& text, bool blank_before) {
        form_.append_report_line(text, blank_before);
    }
    void exists_or_not(bool exists, const std::string& exists_line, const std::string& missing_line,
                       bool blank_before) {
        line(exists ? exists_line : missing_line, blank_before);
    }

    // The first suite folder for which `holds` is true; the App folder only when the map
    // display application was found.
    SuiteFolder first_folder_where(const std::function<bool(const std::string&)>& holds) const {
        if (holds(form_.suite_bin_folder)) return SuiteFolder::bin;
        if (holds(form_.user_suite_folder)) return SuiteFolder::common_app;
        if (!form_.plotwick_folder.empty() && holds(form_.plotwick_folder)) return SuiteFolder::app;
        return SuiteFolder::nowhere;
    }
    SuiteFolder first_folder_holding(const std::string& name) const {
        return first_folder_where(
            [&](const std::string& folder) { return files_.file_exists(folder + "\\" + name); });
    }
    SuiteFolder first_folder_matching(const std::string& pattern) const {
        return first_folder_where([&](const std::string& folder) {
            return files_.matches_exist(folder + "\\" + pattern);
        });
    }
    std::string folder_path(SuiteFolder folder) const {
        switch (folder) {
        case SuiteFolder::bin:
            return form_.suite_bin_folder;
        case SuiteFolder::common_app:
            return form_.user_suite_folder;
        case SuiteFolder::app:
            return form_.plotwick_folder;
        case SuiteFolder::nowhere:
            break;
        }
        return {};
    }
    static const char* line_for(const LinePerFolder& lines, SuiteFolder folder) {
        return lines[static_cast<std::size_t>(folder)];
    }

    // Asks the support library for a program: the buffer as it came back (cut at a NUL,
    // if the library wrote one), or "" when the program was not found.
    std::string find_program(const std::string& file) {
        std::string buffer(search_buffer_length, ' ');
        const std::int32_t found = support_.FINDFILEINPATH(
            file.c_str(), static_cast<std::int32_t>(file.size()), &buffer[0], search_buffer_length);
        if (found < 1) return {};
        return buffer.substr(0, strnlen(buffer.c_str(), buffer.size()));
    }

    // 1. The program settings tree, and the maker's branch of it only when the tree is there.
    void program_settings_keys() {
        const bool tree_exists = form_.registry().KeyExists(settings_tree);
        exists_or_not(tree_exists, "VB and VBA Program Settings exists",
                      "VB and VBA Program Settings does not exist", false);
        if (tree_exists)
            exists_or_not(form_.registry().KeyExists(std::string(settings_tree) + "\\Quillmere"),
                          "Quillmere Settings key exists", "Quillmere Settings does not exist",
                          false);
    }

    // 2. The suite folder.
    void suite_folder_itself() {
        form_.suite_bin_folder = suite_folder;
        exists_or_not(files_.folder_exists(form_.suite_bin_folder), "Tarnwell Folder exists",
                      "Tarnwell Folder does not exist", true);
    }

    // 3. The suite's programs, found by the support library. The map display
    // application's line shows its folder, which later steps search too; the others
    // show the buffer as it came back.
    void suite_programs() {
        const std::string plotwick = find_program("plotwick.exe");
        form_.plotwick_folder.clear();
        if (!plotwick.empty()) {
            const std::size_t cut = plotwick.rfind('\\');
            if (cut == std::string::npos)
                throw run_time_error("Invalid procedure call or argument");
            form_.plotwick_folder = trim_spaces(plotwick.substr(0, cut));
            line("Plotwick Path: " + form_.plotwick_folder, true);
        } else {
            line("Plotwick Path not defined", true);
        }
        for (const char* program : {"Solidane", "Ferrolog", "Invernis"}) {
            const std::string found = find_program(std::string(program) + ".exe");
            line(std::string(program) + (found.empty() ? " Path not defined" : " Path: " + found),
                 true);
        }
    }

    // 4. The GeoTIFF codes file.
    void geotiff_codes_file() {
        static constexpr LinePerFolder lines = {
            "Plotwick GeoTIFF_PCS_codes file exists in bin folder",
            "Plotwick GeoTIFF_PCS_codes file exists in CommonAppDir folder",
            "Plotwick GeoTIFF_PCS_codes file exists in App folder",
            "Plotwick GeoTIFF_PCS_codes file does not exist"};
        line(line_for(lines, first_folder_holding("GeoTIFF_PCS_codes.csv")), true);
    }

    // 5. The EPSG projections database: as the suite recorded it, else by file pattern.
    void projections_database() {
        std::string chkey, chkeyloc;
        std::int32_t ierr = 0;
        form_.get_registry_codes("Quillmere", "EPSG_projections_database", "FileName", chkey,
                                 chkeyloc, ierr);
        if (!chkey.empty()) {
            line("EPSG_projections_database in registry: " + chkey, false);
            return;
        }
        static constexpr LinePerFolder lines = {
            "EPSG_projections_database in bin folder",
            "Plotwick EPSG_projections_database file exists in CommonAppDir folder",
            "EPSG_projections_database file exists in App folder",
            "EPSG_projections_database file does not exist"};
        line(line_for(lines, first_folder_matching("EPSG*.mdb")), true);
    }

    // 6. The EPSG definitions file, which the two EPSG buttons work on. Found in the bin
    // folder its line has no empty line before it.
    void definitions_file() {
        static constexpr LinePerFolder lines = {
            "Plotwick QRX_EPSG_definitions file exists in bin folder",
            "Plotwick QRX_EPSG_definitions file exists in CommonAppDir folder",
            "Plotwick QRX_EPSG_definitions file exists in App folder",
            "Plotwick QRX_EPSG_definitions file does not exist"};
        const char* name = "QRX_EPSG_definitions.dat";
        std::string& path = program_.epsg_definitions_path;
        path.clear();
        const SuiteFolder found = first_folder_holding(name);
        if (found != SuiteFolder::nowhere) path = folder_path(found) + "\\" + name;
        line(line_for(lines, found), found != SuiteFolder::bin);
        if (!path.empty()) {
            view_.set_enabled(EpsgButton::test, true);
            view_.set_enabled(EpsgButton::update, true);
        }
    }

    // 7. The settings folder and what the suite keeps in it.
    void settings_folder() {
        const std::string& folder = form_.suite_bin_folder;
        if (!files_.folder_exists(folder)) {
            line("Plotwick Settings Folder " + folder + " does not exist", false);
            return;
        }
        line("Plotwick Settings Folder " + folder + " exists", true);
        exists_or_not(files_.file_exists(folder + "\\plotwick.ini"),
                      "Plotwick Ini file plotwick.ini exists",
                      "Plotwick Ini file plotwick.ini does not exist", false);
        exists_or_not(files_.folder_exists(folder + "\\tbl"),
                      "Plotwick colour table folder " + folder + "\\tbl exists",
                      "Plotwick colour table folder " + folder + "\\tbl does not exist", false);
        saved_entries("Quillmere\\Projection",
                      "Number of saved projections: ", "No saved projections", "projection.csv");
        saved_entries("Quillmere\\DatumTransform", "Number of saved datum transforms: ",
                      "No saved datum transforms:", "datum.csv");
    }

    // 7c and 7d. Saved entries are counted; without any, the list file the suite falls
    // back on is looked for.
    void saved_entries(const char* section, const std::string& count_label, const char* none_line,
                       const std::string& list_file) {
        std::vector<std::array<std::string, 2>> entries;
        const std::int32_t count = GetAllSettingValue(registry_, section, entries);
        if (count >= 1) {
            line(count_label + std::to_string(count), true);
            return;
        }
        line(none_line, true);
        exists_or_not(files_.file_exists(form_.suite_bin_folder + "\\" + list_file),
                      "Plotwick " + list_file + " file exists",
                      "Plotwick " + list_file + " file does not exist", false);
    }

    Form_Tarnwell_Environment& form_;
    RegistryApi& registry_;
    FileSystem& files_;
    SupportLibrary& support_;
    ReportView& view_;
    ProgramState& program_;
};

}  // namespace

void Form_Tarnwell_Environment::installation_checks() {
    InstallationChecks(*this, platform_, view_, program_).run();
}

}  // namespace tarnwell
