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

constexpr std::int32_t search_buffer_length = 256;

// Asks the support library for a program; the buffer as it came back (cut at a NUL,
// if the library wrote one), or "" when the program was not found.
std::string find_program(SupportLibrary& support, const std::string& file) {
    std::string buffer(search_buffer_length, ' ');
    const std::int32_t found = support.FINDFILEINPATH(
        file.c_str(), static_cast<std::int32_t>(file.size()), &buffer[0], search_buffer_length);
    if (found < 1) return {};
    return buffer.substr(0, strnlen(buffer.c_str(), buffer.size()));
}

// A row of a check: the first row whose test holds gives the line, and the rows after
// it are not tested.
struct CheckRow {
    std::function<bool()> holds;
    const char* line;
    bool blank_before;
};

}  // namespace

void Form_Tarnwell_Environment::installation_checks() {
    const std::string settings_tree = "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings";
    const auto first_of = [this](std::initializer_list<CheckRow> rows) {
        for (const CheckRow& row : rows) {
            if (row.holds()) {
                append_report_line(row.line, row.blank_before);
                return;
            }
        }
    };
    const auto exists_or_not = [this](bool exists, const std::string& exists_line,
                                      const std::string& missing_line, bool blank_before) {
        append_report_line(exists ? exists_line : missing_line, blank_before);
    };

    // 1. The program settings tree and the maker's branch of it.
    const bool tree_exists = registry().KeyExists(settings_tree);
    exists_or_not(tree_exists, "VB and VBA Program Settings exists",
                  "VB and VBA Program Settings does not exist", false);
    if (tree_exists)
        exists_or_not(registry().KeyExists(settings_tree + "\\Quillmere"),
                      "Quillmere Settings key exists", "Quillmere Settings does not exist", false);

    // 2. The suite folder.
    suite_bin_folder = "C:\\Bin\\Tarnwell";
    exists_or_not(file_system->folder_exists(suite_bin_folder), "Tarnwell Folder exists",
                  "Tarnwell Folder does not exist", true);

    // 3. The suite's programs, found by the support library.
    const std::string plotwick = find_program(platform_.support, "plotwick.exe");
    plotwick_folder.clear();
    if (!plotwick.empty()) {
        const std::size_t cut = plotwick.rfind('\\');
        if (cut == std::string::npos) throw run_time_error("Invalid procedure call or argument");
        plotwick_folder = trim_spaces(plotwick.substr(0, cut));
        append_report_line("Plotwick Path: " + plotwick_folder, true);
    } else {
        append_report_line("Plotwick Path not defined", true);
    }
    for (const char* program : {"Solidane", "Ferrolog", "Invernis"}) {
        const std::string found = find_program(platform_.support, std::string(program) + ".exe");
        append_report_line(std::string(program) +
                               (found.empty() ? " Path not defined" : " Path: " + found),
                           true);
    }

    const bool have_app_folder = !plotwick_folder.empty();
    const auto always = [] { return true; };
    const auto in_folder = [&](const std::string& folder, const char* file) {
        return file_system->file_exists(folder + "\\" + file);
    };

    // 4. The GeoTIFF codes file.
    const char* geotiff = "GeoTIFF_PCS_codes.csv";
    first_of({{[&] { return in_folder(suite_bin_folder, geotiff); },
               "Plotwick GeoTIFF_PCS_codes file exists in bin folder", true},
              {[&] { return in_folder(user_suite_folder, geotiff); },
               "Plotwick GeoTIFF_PCS_codes file exists in CommonAppDir folder", true},
              {[&] { return have_app_folder && in_folder(plotwick_folder, geotiff); },
               "Plotwick GeoTIFF_PCS_codes file exists in App folder", true},
              {always, "Plotwick GeoTIFF_PCS_codes file does not exist", true}});

    // 5. The EPSG projections database: as the suite recorded it, else by file pattern.
    std::string chkey, chkeyloc;
    std::int32_t ierr = 0;
    get_registry_codes("Quillmere", "EPSG_projections_database", "FileName", chkey, chkeyloc,
                       ierr);
    if (!chkey.empty()) {
        append_report_line("EPSG_projections_database in registry: " + chkey, false);
    } else {
        const auto database_in = [this](const std::string& folder) {
            return file_system->matches_exist(folder + "\\EPSG*.mdb");
        };
        first_of({{[&] { return database_in(suite_bin_folder); },
                   "EPSG_projections_database in bin folder", true},
                  {[&] { return database_in(user_suite_folder); },
                   "Plotwick EPSG_projections_database file exists in CommonAppDir folder", true},
                  {[&] { return have_app_folder && database_in(plotwick_folder); },
                   "EPSG_projections_database file exists in App folder", true},
                  {always, "EPSG_projections_database file does not exist", true}});
    }

    // 6. The EPSG definitions file, which the two EPSG buttons work on.
    const char* definitions = "QRX_EPSG_definitions.dat";
    std::string& definitions_path = program_.epsg_definitions_path;
    definitions_path.clear();
    if (in_folder(suite_bin_folder, definitions)) {
        definitions_path = suite_bin_folder + "\\" + definitions;
        append_report_line("Plotwick QRX_EPSG_definitions file exists in bin folder", false);
    } else if (in_folder(user_suite_folder, definitions)) {
        definitions_path = user_suite_folder + "\\" + definitions;
        append_report_line("Plotwick QRX_EPSG_definitions file exists in CommonAppDir folder",
                           true);
    } else if (have_app_folder && in_folder(plotwick_folder, definitions)) {
        definitions_path = plotwick_folder + "\\" + definitions;
        append_report_line("Plotwick QRX_EPSG_definitions file exists in App folder", true);
    } else {
        append_report_line("Plotwick QRX_EPSG_definitions file does not exist", true);
    }
    if (!definitions_path.empty()) {
        view_.set_enabled(EpsgButton::test, true);
        view_.set_enabled(EpsgButton::update, true);
    }

    // 7. The settings folder and what the suite keeps in it.
    if (!file_system->folder_exists("C:\\Bin\\Tarnwell")) {
        append_report_line("Plotwick Settings Folder C:\\Bin\\Tarnwell does not exist", false);
        return;
    }
    append_report_line("Plotwick Settings Folder C:\\Bin\\Tarnwell exists", true);
    exists_or_not(file_system->file_exists("C:\\Bin\\Tarnwell\\plotwick.ini"),
                  "Plotwick Ini file plotwick.ini exists",
                  "Plotwick Ini file plotwick.ini does not exist", false);
    exists_or_not(file_system->folder_exists("C:\\Bin\\Tarnwell\\tbl"),
                  "Plotwick colour table folder C:\\Bin\\Tarnwell\\tbl exists",
                  "Plotwick colour table folder C:\\Bin\\Tarnwell\\tbl does not exist", false);

    // Saved projections and datum transforms are counted; without any, the list
    // file the suite falls back on is looked for.
    const auto saved_count = [this](const char* section, const std::string& count_label,
                                    const char* none_line, const char* list_file) {
        std::vector<std::array<std::string, 2>> entries;
        const std::int32_t count = GetAllSettingValue(platform_.registry, section, entries);
        if (count >= 1) {
            append_report_line(count_label + std::to_string(count), true);
            return;
        }
        append_report_line(none_line, true);
        const std::string file = std::string("C:\\Bin\\Tarnwell\\") + list_file;
        append_report_line(std::string("Plotwick ") + list_file +
                               (file_system->file_exists(file) ? " file exists"
                                                               : " file does not exist"),
                           false);
    };
    saved_count("Quillmere\\Projection", "Number of saved projections: ", "No saved projections",
                "projection.csv");
    saved_count("Quillmere\\DatumTransform", "Number of saved datum transforms: ",
                "No saved datum transforms:", "datum.csv");
}

}  // namespace tarnwell
