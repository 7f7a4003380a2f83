#!/usr/bin/env bash
# Writes the favourite rule files with the command line's own writer:
#   write-favorites.sh OUTDIR SRCDIR QUORV_EXE WINE_RUN [HOST_QUORV...]
# Each SRCDIR/NAME.rules (one rule line a line) becomes OUTDIR/NAME.qvr
# through `quorv rules --write`, then is read back with `quorv rules` and
# compared with its source.
#
# The first HOST_QUORV that runs on this machine is used (the native build's
# quorv; the bytes are the same as the Windows build's). Without one,
# QUORV_EXE runs under Wine through WINE_RUN, but only in a Wine prefix that
# exists already: the build never creates the prefix (build.sh sets it up).
set -euo pipefail
OUT=$1 SRC=$2 EXE=$3 WINE_RUN=$4
shift 4

QUORV=() WINE=0
for host in "$@"; do
  if [ -x "$host" ] && "$host" --help >/dev/null 2>&1; then QUORV=("$host"); break; fi
done
if [ ${#QUORV[@]} = 0 ]; then
  prefix=${QUORV_WINEPREFIX:-${WINEPREFIX:-$HOME/.wine}}
  if [ ! -f "$prefix/system.reg" ]; then
    echo "write-favorites: no native quorv and no Wine prefix yet: run ./build.sh native first" >&2
    exit 1
  fi
  QUORV=("$WINE_RUN" "$EXE") WINE=1
fi

winpath() { if [ $WINE = 1 ]; then printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; else printf '%s' "$1"; fi; }
# Runs quorv with everything redirected: a Wine server started here must not
# inherit the build tool's pipes.
run() { "${QUORV[@]}" "$@" >"$TMP/out" 2>"$TMP/err" </dev/null; }

mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
status=0
for src in "$SRC"/*.rules; do
  name=$(basename "$src" .rules)
  lines=()
  while IFS= read -r line || [ -n "$line" ]; do
    line=${line%$'\r'}
    [ -n "$line" ] && lines+=("$line")
  done <"$src"
  target="$OUT/$name.qvr"
  if ! run rules --write "$(winpath "$target")" "${lines[@]}"; then
    echo "write-favorites: $name: quorv rules --write failed: $(cat "$TMP/err")" >&2
    status=1
    continue
  fi
  run rules "$(winpath "$target")" || true
  if [ "$(tr -d '\r' <"$TMP/out")" != "$(printf '%s\n' "${lines[@]}")" ]; then
    echo "write-favorites: $name.qvr does not read back as its source" >&2
    status=1
  fi
done
exit $status
