#!/bin/sh
# A new Wine prefix links the user's Desktop, Documents, Pictures and the
# like to the home folder. The tests then write into the home folder of
# whoever runs them, and the system's folder browser, which watches the
# desktop and everything below it, rebuilds its tree (and loses the chosen
# folder) whenever anything in the home folder changes. Each link becomes a
# folder of the prefix's own.
prefix=${1:?usage: wine-own-folders.sh WINEPREFIX}
for link in "$prefix"/drive_c/users/*/*; do
  [ -L "$link" ] || continue
  rm -f "$link" && mkdir -p "$link"
done
