#!/bin/sh
# Fails when a source file includes a header of a layer above its own folder.
# Each folder is one layer; the table below names the folders each may
# include from (besides itself). Looks at every project include of the form
# #include "folder/file" in the sources and headers of the production
# folders (tests and benchmarks may include anything).
#   check-includes.sh SOURCE_DIR
set -eu
root=${1:?usage: check-includes.sh SOURCE_DIR}
cd "$root"

# folder: the folders it may include (core first, then the system, then the
# user interface). The extension DLL (shell/) sees only the header-only
# owners of platform/ and the handoff bytes of formats/; the main program
# may read the extension's identifiers.
allowed() {
    case $1 in
    platform) echo "" ;;
    formats) echo "platform" ;;
    engine) echo "platform formats" ;;
    batch) echo "platform formats engine" ;;
    builder) echo "platform formats engine batch" ;;
    view) echo "platform formats engine batch builder" ;;
    system) echo "platform formats engine batch builder view" ;;
    skin) echo "platform formats engine batch builder view system" ;;
    tools) echo "platform formats engine batch builder view system skin" ;;
    app) echo "platform formats engine batch builder view system skin tools shell" ;;
    shell) echo "platform formats" ;;
    cli) echo "platform formats engine batch builder view system" ;;
    *) echo "?" ;;
    esac
}

bad=0
checked=0
for folder in platform formats engine batch builder view system skin tools app shell cli; do
    [ -d "$folder" ] || continue
    ok=" $(allowed "$folder") $folder "
    for file in "$folder"/*.cpp "$folder"/*.h "$folder"/*.rc "$folder"/*.idl; do
        [ -f "$file" ] || continue
        checked=$((checked + 1))
        # #include "x/y.h": the folder is the part before the first slash.
        for target in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"/]*\)\/[^"]*".*/\1/p' "$file" | sort -u); do
            case $ok in
            *" $target "*) ;;
            *)
                echo "$file includes from $target/, a layer above $folder/ (see cmake/check-includes.sh)"
                bad=$((bad + 1))
                ;;
            esac
        done
    done
done
# A folder nobody placed in the table is a layer nobody decided on.
for folder in */; do
    folder=${folder%/}
    case $folder in build | tests | bench | cmake | help | installer | icons) continue ;; esac
    if ls "$folder"/*.cpp "$folder"/*.h >/dev/null 2>&1 && [ "$(allowed "$folder")" = "?" ]; then
        echo "the folder $folder/ holds sources but has no place among the layers (cmake/check-includes.sh)"
        bad=$((bad + 1))
    fi
done
[ "$bad" -eq 0 ] || exit 1
echo "$checked files, every include runs down the layers"
