#include "epsg/definitions_location.h"

#include "common/text.h"

namespace tarnwell {

const char* const definitions_file_name = "QRX_EPSG_definitions.dat";

// The search and copy go on past a failing step: a file that cannot be tested counts as
// not there.
AppFileUpdate locate_and_copy_app_file(const std::string& fname, const SuiteFolders& folders,
                                       FileSystem& files, const AppendReportLine& append) {
    AppFileUpdate update;
    const std::string t = trim_spaces(fname);
    if (t.empty()) {
        append("No QRX_EPSG_definitions file name specified");
        return update;
    }
    if (files.file_exists(t).value_or(false)) {
        append("Specified QRX_EPSG_definitions file name exists");
        update.location = t;
        return update;
    }

    // The name is taken from the path as given, spaces and all.
    const std::string name = file_name_of(fname);
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
        if (files.file_exists(candidate).value_or(false)) {
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
    update.copy = files.copy_file(update.source, fname);
    update.location = fname;
    return update;
}

AppFileUpdate update_definitions_location(const SuiteFolders& folders, FileSystem& files,
                                          const AppendReportLine& append) {
    append("Test QRX_EPSG_definitions location");
    const std::string wanted = folders.bin + "\\" + definitions_file_name;
    const AppFileUpdate update = locate_and_copy_app_file(wanted, folders, files, append);
    append("Retuned QRX_EPSG_definitions location: " + update.location);
    if (!update.location.empty())
        append(files.file_exists(update.location).value_or(false)
                   ? "Plotwick QRX_EPSG_definitions file exists"
                   : "Plotwick QRX_EPSG_definitions file does not exist");
    return update;
}

}  // namespace tarnwell
