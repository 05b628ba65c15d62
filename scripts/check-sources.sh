#!/usr/bin/env bash
# Checks the sources for what the build cannot:
#  - every operating-system resource is freed by its owning type alone: no call that
#    closes or frees one (a key, handle, module, font, menu, device context, BSTR,
#    VARIANT, safe array, COM task memory, local or global memory, a console) outside
#    the platform layer (src/platform, where the owners live) and the registry key type;
#  - only the Windows code includes <windows.h>: platform/win32, app/win32,
#    support/win32, com and the Windows tools, never the portable core.
# Prints what it finds and exits non-zero when it finds anything.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$top"
found=0

frees='\b(close_key|RegCloseKey|CloseHandle|FindClose|FreeLibrary|DeleteObject|DestroyMenu|ReleaseDC|SysFreeString|VariantClear|SafeArrayDestroy|CoTaskMemFree|LocalFree|GlobalFree|FreeConsole)\('
if grep -rnE "$frees" src tools --include='*.cpp' --include='*.h' \
     | grep -v -e '^src/platform/' -e '^src/registry/reg_key\.cpp:'; then
  echo "check-sources: a resource freed outside its owning type (see above)" >&2
  found=1
fi

if grep -rlE '#include <(windows|winbase|winuser|winreg)\.h>' src --include='*.cpp' --include='*.h' \
     | grep -v -e '^src/platform/win32/' -e '^src/app/win32/' -e '^src/support/win32/' \
               -e '^src/com/'; then
  echo "check-sources: Windows headers in the portable core (see above)" >&2
  found=1
fi

[ "$found" = 0 ] && echo "check-sources: ok"
exit "$found"
