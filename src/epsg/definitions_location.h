#pragma once
// Where the suite's EPSG definitions file is, and its copy into the suite folder: the
// search behind the update command, with the report lines it writes as it goes.
#include <functional>
#include <string>

#include "platform/file_system.h"

namespace tarnwell {

// The name of the definitions file.
extern const char* const definitions_file_name;

// The folders where the suite may keep its EPSG definitions file.
struct SuiteFolders {
    std::string bin;         // "C:\Bin\Tarnwell"
    std::string common_app;  // the per-user application data folder + "\Tarnwell"
    std::string app;         // the map display application's folder, or ""
};

// Appends one line to the report, after an empty line.
using AppendReportLine = std::function<void(const std::string& line)>;

// What the search-and-copy did: where the file now stands ("" when it was found
// nowhere), where it was copied from ("" when no copy was tried), and how the copy
// ended (success when it succeeded or was not tried).
struct AppFileUpdate {
    std::string location;
    std::string source;
    Status copy;
};

// Makes sure a copy of the definitions file stands at fname, appending its steps. A
// step that fails is passed over: a file that cannot be tested counts as not there, and
// a copy that fails leaves its reason. The copy never replaces a file.
AppFileUpdate locate_and_copy_app_file(const std::string& fname, const SuiteFolders& folders,
                                       FileSystem& files, const AppendReportLine& append);

// The update command's run: its heading line, the search for the file in the bin
// folder, and the lines that say where it stands.
AppFileUpdate update_definitions_location(const SuiteFolders& folders, FileSystem& files,
                                          const AppendReportLine& append);

}  // namespace tarnwell
