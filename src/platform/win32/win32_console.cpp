#include "windows_api/windows_api.h"
#include <shellapi.h>

#include "platform/console.h"
#include "platform/win32/owned.h"
#include "platform/win32/win32_text.h"

namespace tarnwell {

std::vector<std::string> program_arguments(int, char**) {
    int count = 0;
    OwnedLocalMemory arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> utf8;
    const auto* list = static_cast<wchar_t* const*>(arguments.get());
    for (int i = 1; list != nullptr && i < count; ++i)
        utf8.push_back(narrow(list[i]));
    return utf8;
}

void write_console(std::FILE* stream, std::string_view text) {
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        const std::wstring shown = wide(text);
        DWORD written = 0;
        WriteConsoleW(handle, shown.data(), static_cast<DWORD>(shown.size()), &written, nullptr);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace tarnwell
