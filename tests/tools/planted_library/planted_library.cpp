// Loaded into a process, this DLL writes an empty file "<its own path>.loaded" and stays
// loaded. It also exports FINDFILEINPATH, finding nothing, so that a program that takes
// it for the support library goes on as if the real one were there.
#include "windows_api/windows_api.h"

#include <cstdint>
#include <string>

#include "platform/win32/module_path.h"
#include "platform/win32/owned.h"

namespace {

void leave_mark(HINSTANCE self) {
    const std::wstring path = tarnwell::module_path(self);
    if (path.empty()) return;
    const tarnwell::OwnedHandle mark(CreateFileW((path + L".loaded").c_str(), GENERIC_WRITE, 0,
                                                 nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                 nullptr));
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) leave_mark(self);
    return TRUE;
}

extern "C" __declspec(dllexport) std::int32_t __stdcall FINDFILEINPATH(const char*, std::int32_t,
                                                                        char*, std::int32_t) {
    return 0;
}
