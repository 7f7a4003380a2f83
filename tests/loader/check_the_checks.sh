#!/bin/sh
# The loader checks must catch what they are there for: each is run on a
# sample made to fail it, and must report exactly the expected findings.
#
#   check_the_checks.sh loads SOURCE_DIR FIXTURE_DIR
#       cmake/check-library-loads.sh on FIXTURE_DIR/app must fail and report
#       exactly the lines whose comment starts "// refused".
#   check_the_checks.sh imports SOURCE_DIR OBJDUMP FILE DLL...
#       cmake/check-imports.sh on FILE must fail and report exactly the DLLs.
set -eu
what=$1 src=$2
shift 2
out=$(mktemp)
trap 'rm -f "$out"' EXIT
fail() { echo "FAIL: $*"; sed 's/^/    /' "$out"; exit 1; }

case $what in
loads)
    fixture=$1
    if sh "$src/cmake/check-library-loads.sh" "$fixture" app >"$out" 2>&1; then fail "the check passed"; fi
    for file in "$fixture"/app/*.cpp; do
        rel=${file#"$fixture"/}
        expected=$(grep -n '// refused' "$file" | cut -d: -f1 | sed "s|^|$rel:|" | sort)
        reported=$(grep "^$rel:" "$out" | cut -d: -f1,2 | sort)
        [ "$expected" = "$reported" ] || fail "$rel: reported [$(echo $reported)], expected [$(echo $expected)]"
    done
    ;;
imports)
    objdump=$1 file=$2
    shift 2
    if sh "$src/cmake/check-imports.sh" "$objdump" "$file" >"$out" 2>&1; then fail "the check passed"; fi
    expected=$(printf '%s\n' "$@" | sort)
    reported=$(sed -n 's/^.* imports \([^,]*\), which .*$/\1/p' "$out" | sort)
    [ "$expected" = "$reported" ] || fail "reported [$(echo $reported)], expected [$(echo $expected)]"
    ;;
*) echo "usage: check_the_checks.sh loads|imports ..." >&2; exit 2 ;;
esac
echo "the $what check reports what it must"
