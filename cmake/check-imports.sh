#!/bin/sh
# Fails when a Windows executable or DLL imports a library that the loader
# could take from the program's own folder.
#
# For an imported library the loader searches the program's folder first,
# unless Windows keeps the library among its known DLLs (the registry's
# "KnownDLLs" list): those are mapped from the system's own copies whatever
# lies beside the program. A file dropped into the install folder under any
# other imported name would run inside every user's program. So every import
# must be in the known set below; anything else is loaded at run time from
# the system folder (LoadLibraryExW with LOAD_LIBRARY_SEARCH_SYSTEM32, and
# GetProcAddress), which cmake/check-library-loads.sh watches.
#
# The one exception is comctl32.dll in a file whose own manifest asks for the
# common controls 6 (Microsoft.Windows.Common-Controls): the loader then takes
# comctl32.dll from that assembly in the side-by-side store (WinSxS) through
# the activation context, never from the program folder, and a manifest also
# switches the ".local" redirection off. Without that manifest comctl32.dll
# is an ordinary searched import and is refused like any other.
#
# Delay-loaded imports are not used; the delay-import table is not read.
#
#   check-imports.sh OBJDUMP FILE...
set -eu
objdump=${1:?usage: check-imports.sh OBJDUMP FILE...}
shift
[ $# -gt 0 ] || { echo "check-imports.sh: no file to check" >&2; exit 2; }

# The known DLLs of Windows 10 (HKLM\SYSTEM\CurrentControlSet\Control\
# Session Manager\KnownDLLs, 64-bit), in lower case, and ntdll.dll, which the
# system maps into every process before anything is searched. The api-ms-win-
# and ext-ms-win- names are API sets the loader resolves inside the system,
# never files it searches for. The set is Windows 10's: Windows 7 knows
# fewer names (gdiplus.dll, combase.dll and shcore.dll came later), so there
# the loader would still search for gdiplus.dll.
known="
advapi32.dll
clbcatq.dll
combase.dll
comdlg32.dll
coml2.dll
difxapi.dll
gdi32.dll
gdiplus.dll
imagehlp.dll
imm32.dll
kernel32.dll
msctf.dll
msvcrt.dll
normaliz.dll
nsi.dll
ole32.dll
oleaut32.dll
psapi.dll
rpcrt4.dll
sechost.dll
setupapi.dll
shcore.dll
shell32.dll
shlwapi.dll
user32.dll
wldap32.dll
wow64.dll
wow64win.dll
ws2_32.dll
ntdll.dll
"

bad=0
for file in "$@"; do
    [ -f "$file" ] || { echo "$file: missing (build it first)"; bad=$((bad + 1)); continue; }
    imports=$("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr -d '\r' | tr 'A-Z' 'a-z' | sort -u)
    [ -n "$imports" ] || { echo "$file: no import table found"; bad=$((bad + 1)); continue; }
    for dll in $imports; do
        case $dll in
        api-ms-win-* | ext-ms-win-*) continue ;;
        esac
        if printf '%s\n' "$known" | grep -qx "$dll"; then continue; fi
        if [ "$dll" = comctl32.dll ] && LC_ALL=C grep -aq 'name="Microsoft.Windows.Common-Controls"' "$file"; then continue; fi
        echo "$(basename "$file") imports $dll, which the loader may take from the program's folder"
        bad=$((bad + 1))
    done
    echo "$(basename "$file"): $(printf '%s\n' "$imports" | tr '\n' ' ')"
done
[ "$bad" -eq 0 ] || exit 1
echo "every import is a known DLL of the system"
