#!/bin/sh
# Fails when a source file loads a library in a way that lets the loader
# search for it: a file of that name dropped into the program folder (or the
# current folder, or a folder on PATH) would then run inside the program.
#
# Allowed is only LoadLibraryEx (A or W) whose flags name the search
# themselves, within the same statement:
#   LOAD_LIBRARY_SEARCH_SYSTEM32      a system library by name, from the
#                                     system folder only;
#   LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR  a library by its full path (the system
#                                     refuses a path that is not full), its
#                                     imports from its own folder.
# Refused: LoadLibrary, LoadLibraryA, LoadLibraryW (they search), any
# LoadLibraryEx without one of those flags, CoLoadLibrary and
# LoadPackagedLibrary. Comments (// to the end of the line) do not count.
#
#   check-library-loads.sh SOURCE_DIR [FOLDER...]
# FOLDER: the folders of SOURCE_DIR to look at (default: every production
# folder; tests and benchmarks load what they test by path).
set -eu
root=${1:?usage: check-library-loads.sh SOURCE_DIR [FOLDER...]}
shift
cd "$root"
[ $# -gt 0 ] || set -- platform formats engine batch builder view system skin tools app shell cli

files=""
for folder in "$@"; do
    [ -d "$folder" ] || continue
    for file in "$folder"/*.cpp "$folder"/*.h; do
        [ -f "$file" ] && files="$files $file"
    done
done
[ -n "$files" ] || { echo "no source files in: $*"; exit 1; }

# One pass over every file: each file's text without its comments, then
# every call that loads a library, up to the end of its statement.
# shellcheck disable=SC2086
awk '
    function scan(file, text,    rest, offset, name, after, end, call, prefix, line, ok) {
        rest = text; offset = 0
        while (match(rest, /(Co)?LoadLibrary(Ex)?[AW]?[ \t\n]*\(|LoadPackagedLibrary[ \t\n]*\(/)) {
            name = substr(rest, RSTART, RLENGTH)
            sub(/[ \t\n]*\($/, "", name)
            after = substr(rest, RSTART + RLENGTH)
            end = index(after, ";")
            call = end ? substr(after, 1, end) : after
            prefix = substr(text, 1, offset + RSTART - 1)
            line = 1 + gsub(/\n/, "\n", prefix)
            ok = (name ~ /^LoadLibraryEx[AW]?$/) &&
                 (call ~ /LOAD_LIBRARY_SEARCH_SYSTEM32/ || call ~ /LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR/)
            if (!ok) {
                printf "%s:%d: %s lets the loader search for the library (use LoadLibraryExW with LOAD_LIBRARY_SEARCH_SYSTEM32, or a full path with LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR)\n", file, line, name
                bad++
            }
            offset += RSTART + RLENGTH - 1
            rest = substr(rest, RSTART + RLENGTH)
        }
    }
    FNR == 1 { if (NR > 1) scan(current, text); current = FILENAME; text = ""; checked++ }
    { line = $0; sub(/\/\/.*$/, "", line); text = text line "\n" }
    END {
        if (NR > 0) scan(current, text)
        if (bad > 0) { printf "%d library loads that search\n", bad; exit 1 }
        printf "%d files, every library load names its folder\n", checked
    }' $files
