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

std::string update_app_file(const std::string& fname, const SuiteFolders& folders,
                            FileSystem& files, const AppendReportLine& append) {
    const std::string t = trim_spaces(fname);
    if (t.empty()) {
        append("No QRX_EPSG_definitions file name specified");
        return std::string();
    }
    if (exists_or_false(files, t)) {
        append("Specified QRX_EPSG_definitions file name exists");
        return t;
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
    std::string source;
    for (const Place& place : places) {
        append(place.line);
        const std::string candidate = place.folder + "\\" + name;
        if (exists_or_false(files, candidate)) {
            source = candidate;
            break;
        }
    }
    if (source.empty()) {
        append("No QRX_EPSG_definitions.dat file located");
        return std::string();
    }

    // A failed copy leaves no file at fname; the caller's existence test shows it. The
    // copy never replaces a file that appeared at fname since the test above.
    try {
        files.copy_file(source, fname);
    } catch (const std::exception&) {
    }
    return fname;
}

void update_epsg_app_location(const SuiteFolders& folders, FileSystem& files,
                              const AppendReportLine& append) {
    append("Test QRX_EPSG_definitions location");
    const std::string wanted = folders.bin + "\\" + definitions_file_name;
    const std::string location = update_app_file(wanted, folders, files, append);
    append("Retuned QRX_EPSG_definitions location: " + location);
    if (location.empty()) return;
    append(exists_or_false(files, location) ? "Plotwick QRX_EPSG_definitions file exists"
                                            : "Plotwick QRX_EPSG_definitions file does not exist");
}

}  // namespace tarnwell
