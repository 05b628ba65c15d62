#!/usr/bin/env bash
# Checks the sources for what the build cannot:
#  - every operating-system resource is freed by its owning type alone: no call that
#    closes, frees, destroys or gives back one (a key, handle, module, font, menu, window,
#    device context, BSTR, VARIANT, safe array, COM task memory, local or global memory,
#    a COM interface, a type library's description, the clipboard, a console) outside
#    the one file that defines the owners (src/platform/win32/owned.h), in the product,
#    its tools, tests, benchmarks and fuzzers alike. The registry interface's close_key
#    belongs to the interface's implementations and the registry key type; tests and
#    benchmarks of the interface call it directly;
#  - only the Windows code includes the Windows headers: platform/win32, app/win32,
#    support/win32, com and the Windows tools, never the portable core; and it reaches
#    <windows.h> through windows_api.h alone, which fixes the API version (the compiler
#    refuses windows_api.h after another Windows header);
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

code=(src tools tests bench fuzz)

frees='\b(RegCloseKey|CloseHandle|FindClose|FreeLibrary|DeleteObject|DestroyMenu|DestroyWindow|ReleaseDC|SysFreeString|VariantClear|SafeArrayDestroy|CoTaskMemFree|LocalFree|GlobalFree|FreeConsole|CloseClipboard|ReleaseFuncDesc|ReleaseVarDesc|ReleaseTypeAttr|ReleaseTLibAttr)\(|(->|\.)Release\('
if grep -rnE "$frees" "${code[@]}" --include='*.cpp' --include='*.h' \
     | grep -v -e '^src/platform/win32/owned\.h:' \
               -e '^src/platform/win32/win32_registry\.cpp:[0-9]*:Status Win32Registry::close_key('; then
  echo "check-sources: a resource freed outside its owning type (see above)" >&2
  found=1
fi
if grep -rnE '\bclose_key\(' src tools --include='*.cpp' --include='*.h' \
     | grep -v -e '^src/platform/' -e '^src/registry/reg_key\.cpp:'; then
  echo "check-sources: a registry key closed outside the registry key type (see above)" >&2
  found=1
fi

if grep -rlE '#include ("windows_api/windows_api\.h"|<(windows|winbase|winuser|winreg)\.h>)' src \
     --include='*.cpp' --include='*.h' \
     | grep -v -e '^src/platform/win32/' -e '^src/app/win32/' -e '^src/support/win32/' \
               -e '^src/com/' -e '^src/windows_api/'; then
  echo "check-sources: Windows headers in the portable core (see above)" >&2
  found=1
fi

if grep -rnE '#include <(windows|winbase|winuser|winreg)\.h>' "${code[@]}" --include='*.cpp' --include='*.h' \
     | grep -v '^src/windows_api/windows_api\.h:'; then
  echo "check-sources: a Windows header included directly (see above):" \
       "include \"windows_api/windows_api.h\"" >&2
  found=1
fi

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
