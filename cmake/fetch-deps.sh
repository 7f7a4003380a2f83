#!/usr/bin/env bash
# Fetches the third-party sources that the Windows build compiles itself:
# id3lib, from Debian's source package, with Debian's patches applied.
#
#   cmake/fetch-deps.sh DEPS_DIR
#
# Result: DEPS_DIR/id3lib (the patched source tree; cmake/id3lib.cmake builds
# it). Run as root on Debian (apt-get needs it the first time). When the tree
# is already there this returns at once without touching the network.
set -euo pipefail

say() { printf 'fetch-deps: %s\n' "$*"; }
die() { printf 'fetch-deps: %s\n' "$*" >&2; exit 1; }

[ $# -eq 1 ] || die "usage: $0 DEPS_DIR"
DEPS=$1
PKG=id3lib3.8.3
TREE=$DEPS/id3lib
STAMP=$TREE/.quorv-ready

if [ -f "$STAMP" ]; then
  exit 0
fi

mkdir -p "$DEPS"
DEPS=$(cd "$DEPS" && pwd)
TREE=$DEPS/id3lib
STAMP=$TREE/.quorv-ready

SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo

# ---- a deb-src entry, derived from the machine's own apt sources
have_deb_src() {
  grep -rqsE '^[[:space:]]*(Types:.*deb-src|deb-src[[:space:]])' /etc/apt/sources.list /etc/apt/sources.list.d/
}

add_deb_src() {
  local deb822=/etc/apt/sources.list.d/debian.sources
  if [ -f "$deb822" ]; then
    local out=/etc/apt/sources.list.d/quorv-deb-src.sources
    say "adding $out (the entries of $deb822 as deb-src)"
    sed -E 's/^Types:.*/Types: deb-src/' "$deb822" | $SUDO tee "$out" >/dev/null
  elif grep -qsE '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list; then
    local out=/etc/apt/sources.list.d/quorv-deb-src.list
    say "adding $out (the deb lines of /etc/apt/sources.list as deb-src)"
    grep -E '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list | sed -E 's/^[[:space:]]*deb[[:space:]]/deb-src /' \
      | $SUDO tee "$out" >/dev/null
  else
    die "no apt sources found to derive a deb-src entry from"
  fi
  say "apt-get update"
  $SUDO apt-get update -qq
}

have_deb_src || add_deb_src

# ---- the source package (orig tarball, debian tarball, .dsc)
DL=$DEPS/download
mkdir -p "$DL"
if ! compgen -G "$DL/${PKG}_*.orig.tar.*" >/dev/null || ! compgen -G "$DL/${PKG}_*.debian.tar.*" >/dev/null; then
  say "apt-get source --download-only $PKG (into $DL)"
  if ! (cd "$DL" && apt-get source --download-only -qq "$PKG"); then
    # A deb-src entry whose package lists were never fetched: fetch them once.
    say "apt-get update, then again"
    $SUDO apt-get update -qq
    (cd "$DL" && apt-get source --download-only -qq "$PKG")
  fi
fi
ORIG=$(compgen -G "$DL/${PKG}_*.orig.tar.*" | head -n1)
DEBTAR=$(compgen -G "$DL/${PKG}_*.debian.tar.*" | head -n1)
[ -n "$ORIG" ] && [ -n "$DEBTAR" ] || die "the source package did not download"

# ---- unpack into a scratch folder, patch, then move into place
WORK=$DEPS/id3lib.partial
rm -rf "$WORK" "$TREE"
mkdir -p "$WORK"
say "unpacking $(basename "$ORIG")"
tar -xf "$ORIG" -C "$WORK"
# The orig tarball holds one top folder (id3lib-3.8.3).
TOP=$(find "$WORK" -mindepth 1 -maxdepth 1 -type d | head -n1)
[ -n "$TOP" ] || die "unexpected layout in $ORIG"
say "unpacking $(basename "$DEBTAR")"
tar -xf "$DEBTAR" -C "$TOP"
SERIES=$TOP/debian/patches/series
if [ -f "$SERIES" ]; then
  n=0
  while IFS= read -r line || [ -n "$line" ]; do
    p=${line%%#*}
    p=$(echo "$p" | awk '{print $1}')
    [ -n "$p" ] || continue
    patch -d "$TOP" -p1 -s -N <"$TOP/debian/patches/$p" || die "patch $p did not apply"
    n=$((n + 1))
  done <"$SERIES"
  say "applied $n patches from debian/patches/series"
fi
mv "$TOP" "$TREE"
rm -rf "$WORK"
touch "$STAMP"
say "id3lib sources ready in $TREE"
