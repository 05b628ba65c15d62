#include "platform/file_system.h"

#include <cctype>

namespace tarnwell {

std::string file_name_of(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool names_a_device(const std::string& path) {
    if (path.empty()) return false;
    if (path.rfind("\\\\.\\", 0) == 0 || path.rfind("//./", 0) == 0) return true;
    // "COM1:" names the device as "COM1" does.
    std::string base = file_name_of(path.back() == ':' ? path.substr(0, path.size() - 1) : path);
    base = base.substr(0, base.find('.'));
    while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$")
        return true;
    if (base.rfind("COM", 0) != 0 && base.rfind("LPT", 0) != 0) return false;
    const std::string number = base.substr(3);
    // One digit, or a superscript one, two or three (UTF-8).
    return (number.size() == 1 && std::isdigit(static_cast<unsigned char>(number[0]))) ||
           number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}

Status write_file(FileSystem& files, const std::string& path, std::string_view text,
                  ExistingFile existing) {
    Result<std::unique_ptr<PendingFile>> file = files.create_pending_file(path);
    if (!file.ok()) return file.status();
    if (Status written = (*file)->write(text); !written.ok()) return written;
    return (*file)->keep(existing);
}

Result<std::size_t> read_fully(ReadableFile& file, char* buffer, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const Result<std::size_t> got = file.read(buffer + done, n - done);
        if (!got.ok()) return got.status();
        if (*got == 0) break;
        done += *got;
    }
    return done;
}

}  // namespace tarnwell
