#!/usr/bin/env bash
# Checks the sources for what the build cannot:
#  - every operating-system resource is freed by its owning type alone: no call that
#    closes or frees one (a key, handle, module, font, menu, device context, BSTR,
#    VARIANT, safe array, COM task memory, local or global memory, a console) outside
#    the platform layer (src/platform, where the owners live) and the registry key type;
#  - only the Windows code includes <windows.h>: platform/win32, app/win32,
#    support/win32, com and the Windows tools, never the portable core;
#  - no ANSI Windows call (one ending in A, such as RegOpenKeyExA or MessageBoxA)
#    anywhere: texts reach Windows in UTF-16, through the wide calls;
#  - no conversion from UTF-16 to a code page other than UTF-8 without
#    WC_NO_BEST_FIT_CHARS: a look-alike ("r" for "ř", '"' for a fullwidth quotation
#    mark) would be another name, another argument.
# Prints what it finds and exits non-zero when it finds anything.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$top"
found=0

frees='\b(close_key|RegCloseKey|CloseHandle|FindClose|FreeLibrary|DeleteObject|DestroyMenu|ReleaseDC|SysFreeString|VariantClear|SafeArrayDestroy|CoTaskMemFree|LocalFree|GlobalFree|FreeConsole)\('
if grep -rnE "$frees" src tools tests/tools --include='*.cpp' --include='*.h' \
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

code=(src tools tests bench fuzz)
if grep -rnE '\b[A-Z][A-Za-z0-9]*[a-z0-9]A\(' "${code[@]}" --include='*.cpp' --include='*.h'; then
  echo "check-sources: an ANSI Windows call (see above): call the wide (W) form" >&2
  found=1
fi

if grep -rlE 'WideCharToMultiByte' "${code[@]}" --include='*.cpp' --include='*.h' |
     xargs -r perl -0ne 'while (/WideCharToMultiByte\s*\((.*?)\);/gs) {
         my $call = $1;
         print "$ARGV: WideCharToMultiByte($call)\n"
           unless $call =~ /^\s*CP_UTF8\b/ || $call =~ /WC_NO_BEST_FIT_CHARS/;
       }' | grep .; then
  echo "check-sources: a conversion to a code page that may put a look-alike in place" \
       "of a character (see above): pass WC_NO_BEST_FIT_CHARS and check for the default" >&2
  found=1
fi

[ "$found" = 0 ] && echo "check-sources: ok"
exit "$found"
