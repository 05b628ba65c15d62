// reg_dump: the key tree below a key of HKEY_CURRENT_USER as the registry stores it, for
// the end-to-end tests to compare trees by type and exact bytes.
//   reg_dump SUBKEY     e.g. reg_dump Software\tarnwell-peer
// One line per key ("[path]", relative to SUBKEY) and per value ("name|type|bytes"),
// keys and values sorted by name. Names are printed in UTF-8 with "|" and characters
// below 32 as \xNN; bytes are the stored (UTF-16 for texts) bytes in hex. Exit code 1
// when SUBKEY cannot be opened.
#include "windows_api/windows_api.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/owned.h"

namespace {

std::string printable(const std::wstring& name) {
    std::string out;
    for (const wchar_t c : name) {
        if (c < 32 || c == L'|' || c == L'\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(c));
            out += escaped;
            continue;
        }
        char utf8[8] = {};
        const int n = WideCharToMultiByte(CP_UTF8, 0, &c, 1, utf8, sizeof utf8, nullptr, nullptr);
        out.append(utf8, n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    return out;
}

std::string hex(const std::vector<BYTE>& bytes) {
    std::string out;
    char pair[4];
    for (const BYTE b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        out += pair;
    }
    return out;
}

bool by_name(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) < 0;
}

void dump(HKEY key, const std::string& path) {
    std::printf("[%s]\n", path.c_str());
    DWORD values = 0, longest_name = 0, longest_data = 0, subkeys = 0, longest_subkey = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longest_subkey, nullptr, &values,
                     &longest_name, &longest_data, nullptr, nullptr);
    std::vector<std::wstring> names;
    for (DWORD i = 0;; ++i) {
        std::vector<wchar_t> name(longest_name + 2);
        DWORD size = static_cast<DWORD>(name.size());
        if (RegEnumValueW(key, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), size);
    }
    std::sort(names.begin(), names.end(), by_name);
    for (const std::wstring& name : names) {
        DWORD type = 0, size = 0;
        RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
        std::vector<BYTE> data(size);
        RegQueryValueExW(key, name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(),
                         &size);
        data.resize(size);
        std::printf("%s|%lu|%s\n", printable(name).c_str(), static_cast<unsigned long>(type),
                    hex(data).c_str());
    }
    std::vector<std::wstring> children;
    for (DWORD i = 0;; ++i) {
        std::vector<wchar_t> name(longest_subkey + 2);
        DWORD size = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        children.emplace_back(name.data(), size);
    }
    std::sort(children.begin(), children.end(), by_name);
    for (const std::wstring& child : children) {
        tarnwell::OwnedKey opened;
        if (RegOpenKeyExW(key, child.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS) {
            std::printf("[%s\\%s] (cannot be opened)\n", path.c_str(), printable(child).c_str());
            continue;
        }
        dump(opened.get(), path.empty() ? printable(child) : path + "\\" + printable(child));
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: reg_dump SUBKEY-OF-HKCU\n");
        return 2;
    }
    tarnwell::OwnedKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, argv[1], 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return 1;
    dump(key.get(), "");
    return 0;
}
