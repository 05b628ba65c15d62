#pragma once
// The definition of SystemPlatform (see platform.h) for this build.
#include "platform/platform.h"
#if defined(_WIN32)
#include "platform/win32/win32_platform.h"
#else
#include "platform/host/host_platform.h"
#endif
