#include "epsg/epsg_commands.h"

#include <exception>

#include "common/text.h"

namespace tarnwell {

namespace {

const char* const definitions_file_name = "QRX_EPSG_definitions.dat";

// The search and copy go on past a failing step: a file that cannot be tested counts
// as not there.
bool exists_or_false(FileSystem& files, const std::string& path) {
    try {
        return files.file_exists(path);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

void test_epsg_definitions(const std::string& epsg_definitions_path, FileSystem& files,
                           Desktop& desktop, EpsgStore& store) {
    std::int32_t ierr = 0;
    read_persisted_EPSG_projection_database(files, desktop, store, epsg_definitions_path, ierr);
    const bool valid = ierr >= 0;
    desktop.message_box("The EPSG definition file " + epsg_definitions_path +
                            (valid ? " is valid" : " is not valid"),
                        valid ? MessageKind::information : MessageKind::error);
}

AppFileUpdate locate_and_copy_app_file(const std::string& fname, const SuiteFolders& folders,
                                       FileSystem& files, const AppendReportLine& append) {
    AppFileUpdate update;
    const std::string t = trim_spaces(fname);
    if (t.empty()) {
        append("No QRX_EPSG_definitions file name specified");
        return update;
    }
    if (exists_or_false(files, t)) {
        append("Specified QRX_EPSG_definitions file name exists");
        update.location = t;
        return update;
    }

    // The name is taken from the path as given, spaces and all.
    std::string name;
    try {
        name = files.file_name(fname);
    } catch (const std::exception&) {
    }

    struct Place {
        const std::string& folder;
        const char* line;
    };
    const Place places[] = {
        {folders.bin, "Test for QRX_EPSG_definitions file in TarnwellDir"},
        {folders.common_app, "Test for QRX_EPSG_definitions file in WindowsCommonAppDir"},
        {folders.app, "Test for QRX_EPSG_definitions file in Plotwick folder"},
    };
    for (const Place& place : places) {
        append(place.line);
        const std::string candidate = place.folder + "\\" + name;
        if (exists_or_false(files, candidate)) {
            update.source = candidate;
            break;
        }
    }
    if (update.source.empty()) {
        append("No QRX_EPSG_definitions.dat file located");
        return update;
    }

    // A failed copy leaves no file at fname and the search goes on to its end; the
    // reason is kept for the caller. The copy never replaces a file that appeared at
    // fname since the test above.
    try {
        files.copy_file(update.source, fname);
    } catch (const std::exception& failure) {
        update.copy_failure = failure.what();
    }
    update.location = fname;
    return update;
}

std::string update_app_file(const std::string& fname, const SuiteFolders& folders,
                            FileSystem& files, const AppendReportLine& append) {
    return locate_and_copy_app_file(fname, folders, files, append).location;
}

void update_epsg_app_location(const SuiteFolders& folders, FileSystem& files, Desktop& desktop,
                              const AppendReportLine& append) {
    append("Test QRX_EPSG_definitions location");
    const std::string wanted = folders.bin + "\\" + definitions_file_name;
    const AppFileUpdate update = locate_and_copy_app_file(wanted, folders, files, append);
    append("Retuned QRX_EPSG_definitions location: " + update.location);
    if (update.location.empty()) return;
    append(exists_or_false(files, update.location)
               ? "Plotwick QRX_EPSG_definitions file exists"
               : "Plotwick QRX_EPSG_definitions file does not exist");
    // The lines say where the file should be; the message box says why it is not.
    if (!update.copy_failure.empty()) {
        desktop.message_box("An error occurred while copying the EPSG definitions file " +
                                update.source + " to " + update.location + ": " +
                                update.copy_failure,
                            MessageKind::error);
    }
}

}  // namespace tarnwell
