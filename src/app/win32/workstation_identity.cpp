#include "app/win32/workstation_identity.h"

#include "windows_api/windows_api.h"

#include <cstdio>

#include "app/command_line.h"
#include "platform/win32/win32_text.h"

namespace tarnwell {

namespace {

std::string computer_name() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? narrow(name) : std::string();
}

std::string user_name() {
    wchar_t name[257] = {};  // UNLEN + 1
    DWORD size = 257;
    return GetUserNameW(name, &size) ? narrow(name) : std::string();
}

// The version Windows really runs. GetVersionEx answers what the manifest declares
// support for; ntdll's RtlGetVersion answers the truth on every version.
std::string windows_version() {
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");  // in every process, never loaded
    const auto get_version = ntdll ? reinterpret_cast<GetVersion>(reinterpret_cast<void*>(
                                         GetProcAddress(ntdll, "RtlGetVersion")))
                                   : nullptr;
    if (get_version == nullptr || get_version(&info) != 0) return "0.0.0";
    return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
           std::to_string(info.dwBuildNumber);
}

std::string utc_now() {
    SYSTEMTIME now = {};
    GetSystemTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", unsigned{now.wYear},
                  unsigned{now.wMonth}, unsigned{now.wDay}, unsigned{now.wHour},
                  unsigned{now.wMinute}, unsigned{now.wSecond});
    return text;
}

}  // namespace

ReportIdentity this_workstation() {
    return {program_version, computer_name(), user_name(), windows_version(), utc_now()};
}

}  // namespace tarnwell
