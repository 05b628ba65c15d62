#pragma once
// The two EPSG commands of the report window and the search-and-copy behind the
// update command. The window's click handlers call these.
#include <cstdint>
#include <functional>
#include <string>

#include "epsg/epsg_store.h"
#include "platform/desktop.h"
#include "platform/file_system.h"

namespace tarnwell {

// The folders where the suite may keep its EPSG definitions file.
struct SuiteFolders {
    std::string bin;         // "C:\Bin\Tarnwell"
    std::string common_app;  // the per-user application data folder + "\Tarnwell"
    std::string app;         // the map display application's folder, or ""
};

// Appends one line to the report, after an empty line.
using AppendReportLine = std::function<void(const std::string& line)>;

// Reads the definitions file at fname into the store; ierr 0 on success, -1 after a
// failure (shown in a message box naming the stage).
void read_persisted_EPSG_projection_database(FileSystem& files, Desktop& desktop, EpsgStore& store,
                                             const std::string& fname, std::int32_t& ierr);

// "Test EPSG definitions": reads the file found at start-up and says whether it is valid.
void test_epsg_definitions(const std::string& epsg_definitions_path, FileSystem& files,
                           Desktop& desktop, EpsgStore& store);

// What the search-and-copy did: where the file now stands ("" when it was found
// nowhere), where it was copied from ("" when no copy was tried), and the system's
// description of the copy's failure ("" when the copy succeeded or was not tried).
struct AppFileUpdate {
    std::string location;
    std::string source;
    std::string copy_failure;
};

// Makes sure a copy of the definitions file stands at fname, appending its steps.
AppFileUpdate locate_and_copy_app_file(const std::string& fname, const SuiteFolders& folders,
                                       FileSystem& files, const AppendReportLine& append);

// The same, returning only where the file stands: fname after a copy was tried, even
// a failed one.
std::string update_app_file(const std::string& fname, const SuiteFolders& folders,
                            FileSystem& files, const AppendReportLine& append);

// "Update EPSG app location": its lines go to the report; when the copy failed, a
// message box with the reason follows them.
void update_epsg_app_location(const SuiteFolders& folders, FileSystem& files, Desktop& desktop,
                              const AppendReportLine& append);

}  // namespace tarnwell
