// The installation checks, one function per step.
#include "report/installation_checks.h"

#include <array>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "common/text.h"
#include "probes/program_settings.h"
#include "report/shown_value.h"

namespace tarnwell {

namespace {

constexpr const char* suite_folder = "C:\\Bin\\Tarnwell";
constexpr std::int32_t search_buffer_length = 256;

// The suite folders in the order every search tries them; nowhere when none holds the
// file.
enum class SuiteFolder { bin, common_app, app, nowhere };

// A test of FileSystem's: file_exists or folder_exists.
using FileTest = Result<bool> (FileSystem::*)(const std::string&);

// One report line per outcome of a search, in the order of SuiteFolder.
using LinePerFolder = std::array<const char*, 4>;

// Once a file test or the support library fails, the checks make no more calls and
// write no more lines: the failure ends them where they stand, and run() returns it.
class InstallationChecks {
public:
    InstallationChecks(Platform& platform, SuiteLookups& lookups, SuiteState& state,
                       ReportSink& sink)
        : lookups_(lookups),
          files_(platform.files),
          support_(platform.support),
          state_(state),
          sink_(sink) {}

    Status run() {
        for (void (InstallationChecks::*step)() :
             {&InstallationChecks::program_settings_keys, &InstallationChecks::suite_folder_itself,
              &InstallationChecks::suite_programs, &InstallationChecks::geotiff_codes_file,
              &InstallationChecks::projections_database, &InstallationChecks::definitions_file,
              &InstallationChecks::settings_folder}) {
            if (failure_.ok()) (this->*step)();
        }
        return failure_;
    }

private:
    // The answer, or nothing when the call failed: the failure is kept and ends the checks.
    template <class T>
    std::optional<T> answer(Result<T> result) {
        if (result.ok()) return std::move(result).value();
        failure_ = result.status();
        return std::nullopt;
    }

    void add(const char* id, FindingState state, std::string value, std::string line,
             bool blank_before, Status lookup_failure = Status(),
             MachineView view = MachineView::none) {
        if (failure_.ok()) {
            sink_.add({state, std::move(value), std::move(line), blank_before, id,
                       std::move(lookup_failure), view});
        }
    }
    void exists_or_not(const char* id, Lookup<bool> exists, const std::string& path,
                       const std::string& exists_line, const std::string& missing_line,
                       bool blank_before) {
        add(id, exists.answer ? FindingState::found : FindingState::missing,
            exists.answer ? path : "", exists.answer ? exists_line : missing_line, blank_before,
            exists.failure);
    }
    // Whether the file test finds the path; false, without a call, once a call has failed.
    bool finds(FileTest test, const std::string& path) {
        return failure_.ok() && answer((files_.*test)(path)).value_or(false);
    }
    void file_test(const char* id, FileTest test, const std::string& path,
                   const std::string& exists_line, const std::string& missing_line,
                   bool blank_before) {
        exists_or_not(id, {finds(test, path)}, path, exists_line, missing_line, blank_before);
    }

    std::string folder_path(SuiteFolder folder) const {
        const std::string* paths[] = {&state_.folders.bin, &state_.folders.common_app,
                                      &state_.folders.app};
        return folder == SuiteFolder::nowhere ? "" : *paths[static_cast<std::size_t>(folder)];
    }
    // The first suite folder in which the test finds the name; the App folder only when
    // the map display application was found.
    SuiteFolder first_folder_where(FileTest test, const std::string& name) {
        for (const SuiteFolder folder :
             {SuiteFolder::bin, SuiteFolder::common_app, SuiteFolder::app}) {
            if (folder == SuiteFolder::app && state_.folders.app.empty()) break;
            if (finds(test, folder_path(folder) + "\\" + name)) return folder;
        }
        return SuiteFolder::nowhere;
    }
    // The first suite folder holding a file whose name matches the pattern, with the
    // first such name in name order; nowhere and the pattern when none does. A folder
    // that cannot be listed holds no match, as a search that finds nothing.
    std::pair<SuiteFolder, std::string> first_folder_matching(const std::string& pattern) {
        for (const SuiteFolder folder :
             {SuiteFolder::bin, SuiteFolder::common_app, SuiteFolder::app}) {
            if (folder == SuiteFolder::app && state_.folders.app.empty()) break;
            if (!failure_.ok()) break;
            const std::vector<std::string> names =
                files_.list_files(folder_path(folder), pattern).value_or({});
            if (!names.empty()) return {folder, names.front()};
        }
        return {SuiteFolder::nowhere, pattern};
    }
    // A search's line.
    void searched(const char* id, SuiteFolder found, const std::string& file,
                  const LinePerFolder& lines, bool blank_before, Status lookup_failure = Status()) {
        const bool somewhere = found != SuiteFolder::nowhere;
        add(id, somewhere ? FindingState::found : FindingState::missing,
            somewhere ? folder_path(found) + "\\" + file : "",
            lines[static_cast<std::size_t>(found)], blank_before, std::move(lookup_failure));
    }

    // Asks the support library for a program: the buffer as it came back (cut at a NUL,
    // if the library wrote one), or "" when the program was not found.
    std::string find_program(const std::string& file) {
        if (!failure_.ok()) return std::string();
        std::string buffer(search_buffer_length, ' ');
        const std::optional<std::int32_t> found =
            answer(support_.FINDFILEINPATH(file.c_str(), static_cast<std::int32_t>(file.size()),
                                           &buffer[0], search_buffer_length));
        if (found.value_or(0) < 1) return std::string();
        return buffer.substr(0, strnlen(buffer.c_str(), buffer.size()));
    }

    // 1. The program settings tree, and the maker's branch of it only when the tree is there.
    void program_settings_keys() {
        const std::string settings_tree = std::string("HKEY_CURRENT_USER\\") + program_settings_tree;
        const Lookup<bool> tree = lookups_.key_exists(reg::current_user, program_settings_tree);
        exists_or_not("settings_tree", tree, settings_tree, "VB and VBA Program Settings exists",
                      "VB and VBA Program Settings does not exist", false);
        const std::string maker = settings_tree + "\\Quillmere";
        if (tree.answer)
            exists_or_not("settings_tree.quillmere",
                          lookups_.key_exists(reg::current_user,
                                              std::string(program_settings_tree) + "\\Quillmere"),
                          maker,
                          "Quillmere Settings key exists", "Quillmere Settings does not exist",
                          false);
    }

    // 2. The suite folder.
    void suite_folder_itself() {
        state_.folders.bin = suite_folder;
        file_test("suite_folder", &FileSystem::folder_exists, state_.folders.bin,
                  "Tarnwell Folder exists", "Tarnwell Folder does not exist", true);
    }

    // 3. The suite's programs, found by the support library. The map display
    // application's line shows its folder, which later steps search too; the others
    // show the buffer as it came back.
    void suite_programs() {
        const std::string plotwick = find_program("plotwick.exe");
        if (!failure_.ok()) return;
        state_.folders.app.clear();
        if (!plotwick.empty()) {
            const std::size_t cut = plotwick.rfind('\\');
            if (cut == std::string::npos) {
                failure_ = Status::failure("Invalid procedure call or argument");
                return;
            }
            state_.folders.app = trim_spaces(plotwick.substr(0, cut));
            add("program.plotwick", FindingState::found, state_.folders.app,
                "Plotwick Path: " + shown_value(state_.folders.app), true);
        } else {
            add("program.plotwick", FindingState::missing, "", "Plotwick Path not defined", true);
        }
        // The line shows the buffer as it came back, blanks after the path included;
        // the finding's value is the path alone.
        for (const auto& [program, id] :
             {std::pair{"Solidane", "program.solidane"}, std::pair{"Ferrolog", "program.ferrolog"},
              std::pair{"Invernis", "program.invernis"}}) {
            const std::string found = find_program(std::string(program) + ".exe");
            exists_or_not(id, {!found.empty()}, trim_spaces(found),
                          std::string(program) + " Path: " + shown_value(found),
                          std::string(program) + " Path not defined", true);
        }
    }

    // 4. The GeoTIFF codes file.
    void geotiff_codes_file() {
        static constexpr LinePerFolder lines = {
            "Plotwick GeoTIFF_PCS_codes file exists in bin folder",
            "Plotwick GeoTIFF_PCS_codes file exists in CommonAppDir folder",
            "Plotwick GeoTIFF_PCS_codes file exists in App folder",
            "Plotwick GeoTIFF_PCS_codes file does not exist"};
        const char* name = "GeoTIFF_PCS_codes.csv";
        searched("geotiff_codes", first_folder_where(&FileSystem::file_exists, name), name, lines,
                 true);
    }

    // 5. The EPSG projections database: as the suite recorded it, else by file pattern.
    void projections_database() {
        const char* id = "epsg_projections_database";
        const Lookup<std::string> recorded =
            lookups_.stored_value("Quillmere", "EPSG_projections_database", "FileName");
        if (!recorded.answer.empty()) {
            return add(id, FindingState::value, recorded.answer,
                       "EPSG_projections_database in registry: " + shown_value(recorded.answer),
                       false, Status(), recorded.view);
        }
        static constexpr LinePerFolder lines = {
            "EPSG_projections_database in bin folder",
            "Plotwick EPSG_projections_database file exists in CommonAppDir folder",
            "EPSG_projections_database file exists in App folder",
            "EPSG_projections_database file does not exist"};
        // A recorded name that could not be read leaves the search to answer; only when
        // the search finds nothing does the failed lookup leave the answer open.
        const auto [found, file] = first_folder_matching("EPSG*.mdb");
        searched(id, found, file, lines, true,
                 found == SuiteFolder::nowhere ? recorded.failure : Status());
    }

    // 6. The EPSG definitions file, which the two EPSG buttons work on. Found in the bin
    // folder its line has no empty line before it.
    void definitions_file() {
        static constexpr LinePerFolder lines = {
            "Plotwick QRX_EPSG_definitions file exists in bin folder",
            "Plotwick QRX_EPSG_definitions file exists in CommonAppDir folder",
            "Plotwick QRX_EPSG_definitions file exists in App folder",
            "Plotwick QRX_EPSG_definitions file does not exist"};
        const char* name = definitions_file_name;
        state_.definitions_path.clear();
        const SuiteFolder found = first_folder_where(&FileSystem::file_exists, name);
        if (found != SuiteFolder::nowhere)
            state_.definitions_path = folder_path(found) + "\\" + name;
        searched("epsg_definitions", found, name, lines, found != SuiteFolder::bin);
    }

    // 7. The settings folder and what the suite keeps in it.
    void settings_folder() {
        const std::string& folder = state_.folders.bin;
        const bool exists = finds(&FileSystem::folder_exists, folder);
        if (!failure_.ok()) return;
        if (!exists) {
            return add("settings_folder", FindingState::missing, "",
                       "Plotwick Settings Folder " + folder + " does not exist", false);
        }
        add("settings_folder", FindingState::found, folder,
            "Plotwick Settings Folder " + folder + " exists", true);
        const std::string ini = folder + "\\plotwick.ini";
        const std::string tables = folder + "\\tbl";
        file_test("settings_folder.ini", &FileSystem::file_exists, ini,
                  "Plotwick Ini file plotwick.ini exists",
                  "Plotwick Ini file plotwick.ini does not exist", false);
        file_test("settings_folder.colour_tables", &FileSystem::folder_exists, tables,
                  "Plotwick colour table folder " + tables + " exists",
                  "Plotwick colour table folder " + tables + " does not exist", false);
        saved_entries("saved_projections", "Quillmere\\Projection",
                      "Number of saved projections: ", "No saved projections", "projection.csv");
        saved_entries(
            "saved_datum_transforms", "Quillmere\\DatumTransform",
            "Number of saved datum transforms: ", "No saved datum transforms:", "datum.csv");
    }

    // 7c and 7d. Saved entries are counted; without any, the list file the suite falls
    // back on is looked for.
    void saved_entries(const std::string& id, const char* section, const std::string& count_label,
                       const char* none_line, const std::string& list_file) {
        if (!failure_.ok()) return;
        const Lookup<std::int32_t> count = lookups_.settings_count(section);
        if (count.answer >= 1) {
            return add(id.c_str(), FindingState::count, std::to_string(count.answer),
                       count_label + std::to_string(count.answer), true);
        }
        add(id.c_str(), FindingState::empty, "", none_line, true, count.failure);
        const std::string path = state_.folders.bin + "\\" + list_file;
        file_test((id + ".list_file").c_str(), &FileSystem::file_exists, path,
                  "Plotwick " + list_file + " file exists",
                  "Plotwick " + list_file + " file does not exist", false);
    }

    SuiteLookups& lookups_;
    FileSystem& files_;
    SupportLibrary& support_;
    SuiteState& state_;
    ReportSink& sink_;
    Status failure_;
};

}  // namespace

Status run_installation_checks(Platform& platform, SuiteLookups& lookups, SuiteState& state,
                               ReportSink& sink) {
    return InstallationChecks(platform, lookups, state, sink).run();
}

}  // namespace tarnwell
