#!/bin/sh
# Runs every worked example of the user manual through `quorv apply`.
#   help_examples.sh QUORV                          native
#   help_examples.sh --wine WINE_RUN QUORV_EXE      the Windows build under Wine
# The help pages and the favourites' sources are found from this script's place.
# Prints one line per check and "N passed, N failed" at the end.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
exec python3 "$HERE/help_examples.py" --help-dir "$ROOT/help" --favorites-src "$ROOT/installer/favorites" "$@"
