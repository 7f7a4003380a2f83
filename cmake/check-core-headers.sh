#!/bin/sh
# Fails when an object of the portable core (quorvcore) saw <windows.h>,
# directly or through another header. Reads the compiler's own dependency
# records of the Windows build (ninja -t deps), so it sees every header each
# object really included.
#   check-core-headers.sh BUILD_DIR
set -eu
dir=${1:?usage: check-core-headers.sh BUILD_DIR}
ninja -C "$dir" -t deps 2>/dev/null | awk '
  /^[^ \t]/ {
    obj = $1; sub(/:$/, "", obj)
    core = (obj ~ /CMakeFiles\/quorvcore\.dir\//)
    if (core) objects++
    next
  }
  core {
    header = tolower($1)
    if (header ~ /\/windows\.h$/) { print "the core object " obj " includes <windows.h>"; bad++ }
  }
  END {
    if (objects == 0) { print "no dependency records of the core objects: build the Windows build first"; exit 1 }
    if (bad > 0) exit 1
    printf "%d core objects, none sees <windows.h>\n", objects
  }'
