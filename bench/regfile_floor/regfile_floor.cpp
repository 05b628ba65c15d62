// regfile_floor: the least an export and an import of a key tree can cost through the
// registry's wide (UTF-16) calls, the ones the program makes, the anchor of the export
// and import benchmarks.
//   regfile_floor export SUBKEY FILE   the tree below HKEY_CURRENT_USER\SUBKEY to FILE
//   regfile_floor import FILE          that file back into the registry
// Per key, the export opens it, lists its values (one RegEnumValueW each, name, type and
// data at once) and subkeys, and closes it; the import creates each key and sets each
// value with one call. The file holds each key's path and each value's name, type and
// bytes as they are, with their lengths: no text to format and none to parse.
#include "windows_api/windows_api.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/owned.h"

using tarnwell::OwnedKey;

namespace {

void put(std::string& out, const void* data, std::size_t size) {
    out.append(static_cast<const char*>(data), size);
}
void put_text(std::string& out, const void* text, DWORD size) {
    put(out, &size, sizeof size);
    put(out, text, size);
}
void put_name(std::string& out, const std::wstring& name) {
    put_text(out, name.data(), static_cast<DWORD>(name.size() * sizeof(wchar_t)));
}

bool export_key(HKEY parent, const std::wstring& name, const std::wstring& path,
                std::string& out) {
    OwnedKey owned_key;
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, owned_key.put()) != ERROR_SUCCESS)
        return false;
    const HKEY key = owned_key.get();
    out += 'K';
    put_name(out, path);
    static std::vector<wchar_t> value_name(16384);
    static std::vector<BYTE> data(1 << 20);
    for (DWORD i = 0;; ++i) {
        DWORD name_size = static_cast<DWORD>(value_name.size());
        DWORD data_size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueW(key, i, value_name.data(), &name_size, nullptr, &type, data.data(),
                          &data_size) != ERROR_SUCCESS)
            break;
        out += 'V';
        put_name(out, std::wstring(value_name.data(), name_size));
        put(out, &type, sizeof type);
        put_text(out, data.data(), data_size);
    }
    std::vector<std::wstring> subkeys;
    wchar_t subkey[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = 256;
        if (RegEnumKeyExW(key, i, subkey, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        subkeys.emplace_back(subkey, size);
    }
    bool whole = true;
    for (const std::wstring& child : subkeys)
        whole = export_key(key, child, path + L"\\" + child, out) && whole;
    return whole;
}

std::string read(const char*& p, const char* end) {
    DWORD size = 0;
    if (end - p < static_cast<long>(sizeof size)) return {};
    std::memcpy(&size, p, sizeof size);
    p += sizeof size;
    if (static_cast<std::size_t>(end - p) < size) size = static_cast<DWORD>(end - p);
    std::string text(p, size);
    p += size;
    return text;
}

std::wstring read_name(const char*& p, const char* end) {
    const std::string bytes = read(p, end);
    std::wstring name(bytes.size() / sizeof(wchar_t), L'\0');
    if (!name.empty()) std::memcpy(&name[0], bytes.data(), name.size() * sizeof(wchar_t));
    return name;
}

int import_file(const std::string& bytes) {
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    OwnedKey key;
    while (p < end) {
        const char record = *p++;
        if (record == 'K') {
            if (RegCreateKeyW(HKEY_CURRENT_USER, read_name(p, end).c_str(), key.put()) !=
                ERROR_SUCCESS)
                return 1;
        } else if (record == 'V' && key) {
            const std::wstring name = read_name(p, end);
            DWORD type = 0;
            std::memcpy(&type, p, sizeof type);
            p += sizeof type;
            const std::string data = read(p, end);
            RegSetValueExW(key.get(), name.c_str(), 0, type,
                           reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size()));
        } else {
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "export" && argc == 4) {
        std::string out;
        // The subkey is plain ASCII, as the benchmark names it.
        const std::string ascii = argv[2];
        const std::wstring subkey(ascii.begin(), ascii.end());
        if (!export_key(HKEY_CURRENT_USER, subkey, subkey, out)) return 1;
        FILE* file = std::fopen(argv[3], "wb");
        if (file == nullptr) return 1;
        const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
        return std::fclose(file) == 0 && written ? 0 : 1;
    }
    if (command == "import" && argc == 3) {
        FILE* file = std::fopen(argv[2], "rb");
        if (file == nullptr) return 1;
        std::string bytes;
        char chunk[65536];
        for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            bytes.append(chunk, got);
        std::fclose(file);
        return import_file(bytes);
    }
    std::fprintf(stderr, "usage: regfile_floor export SUBKEY FILE | import FILE\n");
    return 2;
}
