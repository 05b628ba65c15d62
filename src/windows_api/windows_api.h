#pragma once
// The one way Windows code reaches the Windows headers. It fixes the version of the API
// they declare to Windows 7, the oldest system the program runs on, so that a call
// newer than that fails to build instead of failing to load on a user's machine; it
// leaves out the rarely used parts of <windows.h> and keeps its min and max macros from
// hiding std::min and std::max. Include it before any other Windows header: one
// included first would already have chosen the version.
#if defined(_WINDOWS_) || defined(_WINDEF_)
#error "windows_api.h must come before any other Windows header"
#endif

// The C runtime's headers may already have set the toolchain's default version.
#undef _WIN32_WINNT
#undef WINVER
#define _WIN32_WINNT 0x0601  // _WIN32_WINNT_WIN7
#define WINVER _WIN32_WINNT
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>
