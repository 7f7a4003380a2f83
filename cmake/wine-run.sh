#!/bin/sh
# Runs a Windows executable under 64-bit Wine with the build's private prefix
# (build.sh exports QUORV_WINEPREFIX and starts the wineserver beforehand).
# QUORV_CODEPAGE=932 runs it with the ANSI code page 932, through the private
# ja_JP locale that build.sh generates under QUORV_LOCPATH.
WINEPREFIX=${QUORV_WINEPREFIX:-${WINEPREFIX:-$HOME/.wine}}
WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX WINEDEBUG
[ -n "$DISPLAY" ] || export DISPLAY=:${QUORV_DISPLAY:-99}
if [ "$QUORV_CODEPAGE" = 932 ]; then
  LOCPATH=${QUORV_LOCPATH:?build.sh make_locale sets QUORV_LOCPATH}
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  export LOCPATH LANG LC_ALL
fi
exec wine "$@"
