#!/usr/bin/env bash
# Figures only, never a failure: the command line's scan and preview of a
# tree of FOLDERS x PER_FOLDER empty files with five rules, against `find`
# walking the same tree, once printing the bare paths and once printing
# lines of the preview's own shape. Best of RUNS runs each, output to
# /dev/null.
# Usage: scan_vs_find.sh QUORV [FOLDERS PER_FOLDER RUNS]   (default 100 1000 5)
set -euo pipefail
QUORV=$1
FOLDERS=${2:-100}
PER_FOLDER=${3:-1000}
RUNS=${4:-5}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorv-scan-XXXXXX")
trap 'rm -rf "$WORK"' EXIT

python3 - "$WORK/tree" "$FOLDERS" "$PER_FOLDER" <<'PY'
import os, sys
root, folders, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for d in range(folders):
    folder = os.path.join(root, "d%04d" % d)
    os.makedirs(folder)
    for i in range(per):
        open(os.path.join(folder, "IMG_%05d photo.jpg" % i), "w").close()
PY

RULES=(--rule 'FILENAME PREFIX "new_"' --rule 'FILENAME REPLACE " " with "_"' --rule 'FILEEXT UPPERCASE all'
       --rule 'FILENAME SUFFIX digit length:3' --rule 'FILENAME LOWERCASE all')

best() {  # command...: the fastest of RUNS runs in seconds
  local b=
  for ((r = 0; r < RUNS; r++)); do
    local s e
    s=$(date +%s.%N)
    "$@" >/dev/null
    e=$(date +%s.%N)
    b=$(python3 -c "import sys; t=$e-$s; b='$b'; print(t if not b else min(t, float(b)))")
  done
  printf '%.3f' "$b"
}

cd "$WORK"
lines=$("$QUORV" preview "${RULES[@]}" --dir tree --subdir | wc -l)
q=$(best "$QUORV" preview "${RULES[@]}" --dir tree --subdir)
f=$(best find tree -type f)
p=$(best find tree -type f -printf '"%p"  will be changed to  "%p"\n')
echo "scan and preview of $lines files in $FOLDERS folders, 5 rules (best of $RUNS):"
printf '  %-44s %7s s\n' "quorv preview --dir --subdir" "$q" \
  "find -type f (bare paths)" "$f" "find -type f -printf (lines of that shape)" "$p"
python3 -c "print('  %-44s %7.2f x  (goal: within 2 x)' % ('quorv / find printing lines of that shape', $q / $p)); print('  %-44s %7.2f x' % ('quorv / find printing bare paths', $q / $f))"
