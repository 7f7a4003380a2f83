#!/bin/sh
# End-to-end checks of the quorv command line on real files.
#   cli_test.sh QUORV...            native
#   cli_test.sh --wine QUORV...     the Windows build under Wine (paths as Z:\...)
# Prints one line per check and "N passed, N failed" at the end.
set -u
WINE=0
if [ "$1" = "--wine" ]; then WINE=1; shift
  # Wine turns arguments and file names into UTF-16 through the locale's
  # character set: a UTF-8 one, so names in every script pass whole.
  LC_ALL=C.UTF-8; export LC_ALL
fi
QUORV="$*"

PASS=0
FAIL=0
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorv-cli.XXXXXX")
trap 'chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT

# A path of WORK as the program sees it.
p() {
  if [ $WINE = 1 ]; then printf 'Z:%s' "$(printf '%s' "$WORK/$1" | tr / '\\')"
  else printf '%s' "$WORK/$1"; fi
}
run() {  # run ARGS...: stdout to $WORK/out, stderr to $WORK/err, status in $STATUS
  $QUORV "$@" >"$WORK/out.raw" 2>"$WORK/err.raw"
  STATUS=$?
  tr -d '\r' <"$WORK/out.raw" >"$WORK/out"
  tr -d '\r' <"$WORK/err.raw" | grep -v 'wine32 is missing' | grep -v 'multiarch needs' |
    grep -v 'dpkg --add-architecture' | grep -v 'apt-get install wine32' >"$WORK/err" || true
}
check() {  # check NAME CONDITION...
  name=$1; shift
  if "$@"; then PASS=$((PASS + 1)); echo "ok   $name"
  else FAIL=$((FAIL + 1)); echo "FAIL $name"; echo "  stdout:"; sed 's/^/    /' "$WORK/out"; echo "  stderr:"; sed 's/^/    /' "$WORK/err"; fi
}
same() { [ "$1" = "$2" ]; }

# apply: the example of the usage text.
run apply --rule 'FILENAME PREFIX digit length:3' --first 12 photo.jpg
check "apply prefixes the sequence number" same "$(cat "$WORK/out")" "012photo.jpg"
run apply --rule 'FILENAME PREFIX "x"' --rule 'FILEEXT UPPERCASE all' a.jpg b.png
check "apply keeps the order of paths" same "$(cat "$WORK/out")" "$(printf 'xa.JPG\nxb.PNG')"
check "apply exits 0" same "$STATUS" 0

# usage errors: exit 2 and one line on standard error.
run apply --rule
check "missing option value exits 2" same "$STATUS" 2
check "usage error is one line" same "$(wc -l <"$WORK/err" | tr -d ' ')" 1
run frobnicate
check "unknown verb exits 2" same "$STATUS" 2
run rules "$(p missing.qvr)"
check "unreadable rule file exits 2" same "$STATUS" 2

# rules: write and read a rule file; the bytes are the documented record.
run rules --write "$(p set.qvr)" 'FILENAME PREFIX digit length:3' 'FILEEXT LOWERCASE all'
check "rules --write exits 0" same "$STATUS" 0
check "rule file is 55 bytes" same "$(wc -c <"$WORK/set.qvr" | tr -d ' ')" 55
check "rule file starts with count 2 and length 30" same "$(od -An -tx1 -N3 "$WORK/set.qvr" | tr -d ' \n')" "02001e"
run rules "$(p set.qvr)"
check "rules reads the lines back" same "$(cat "$WORK/out")" "$(printf 'FILENAME PREFIX digit length:3\nFILEEXT LOWERCASE all')"

# Lines as the rules builder writes them (quoted texts with blanks, an
# unescaped quote in a value, a folder with a blank and a closing backslash)
# give the same bytes as the builder's own test saves for these lines.
run rules --write "$(p built.qvr)" 'FILENAME PREFIX digit length:3' 'FILENAME REPLACE "a b" with "c "d""' \
  'DESTDIR C:\My Pictures\' 'FORMAT -HHMMSSFF- "50" start:HH-MM-SS-FF'
check "builder lines give the documented record" same "$(od -An -tx1 "$WORK/built.qvr" | tr -d ' \n')" \
  "04001e46494c454e414d4520505245464958206469676974206c656e6774683a332346494c454e414d45205245504c41434520226120622220776974682022632022642222174445535444495220433a5c4d792050696374757265735c28464f524d4154202d48484d4d535346462d20223530222073746172743a48482d4d4d2d53532d4646"

# preview, rename, undo through a batch file.
mkdir -p "$WORK/pics"
for n in a b c; do printf '%s' "$n" >"$WORK/pics/$n.JPG"; done
run preview --rules "$(p set.qvr)" --dir "$(p pics)"
check "preview exits 0" same "$STATUS" 0
check "preview writes one line per file" same "$(wc -l <"$WORK/out" | tr -d ' ')" 3
# The folder's listing order decides the numbers; every file gets its own.
check "preview line" grep -qF "\"$(p pics/a.JPG)\"  will be changed to  \"$(p pics/)00" "$WORK/out"
check "preview numbers each file once" same "$(grep -o '00[123][abc][.]jpg' "$WORK/out" | cut -c3 | sort | tr -d '\n')" 123
check "preview renames nothing" test -f "$WORK/pics/a.JPG"

run rename --rule 'FILENAME PREFIX "new_"' --dir "$(p pics)" --save-batch "$(p run.qvb)"
check "rename exits 0" same "$STATUS" 0
check "rename line" grep -qF "\"$(p pics/b.JPG)\"  has been changed to  \"$(p pics/new_b.JPG)\"" "$WORK/out"
check "files renamed" test -f "$WORK/pics/new_a.JPG" -a -f "$WORK/pics/new_b.JPG" -a -f "$WORK/pics/new_c.JPG" -a ! -e "$WORK/pics/a.JPG"
check "content kept" same "$(cat "$WORK/pics/new_c.JPG")" c
check "batch file written" test -s "$WORK/run.qvb"

run undo --batch "$(p run.qvb)"
check "undo exits 0" same "$STATUS" 0
check "undo line" grep -qF "$(p pics/new_a.JPG)  roolback to $(p pics/a.JPG)" "$WORK/out"
check "files back" test -f "$WORK/pics/a.JPG" -a -f "$WORK/pics/b.JPG" -a -f "$WORK/pics/c.JPG" -a ! -e "$WORK/pics/new_a.JPG"
check "content back" same "$(cat "$WORK/pics/a.JPG")" a

# two files that get the same new name: the second fails, nothing is lost.
mkdir -p "$WORK/clash"
printf 1 >"$WORK/clash/x1.txt"; printf 2 >"$WORK/clash/x2.txt"
run rename --rule 'FILENAME REMOVE right length:1' "$(p clash/x1.txt)" "$(p clash/x2.txt)"
check "a failed file exits 1" same "$STATUS" 1
check "failure line" grep -qF "\"$(p clash/x2.txt)\"  change failed with  \"$(p clash/x.txt)\"" "$WORK/out"
check "no file lost" same "$(cat "$WORK/clash/x.txt")$(cat "$WORK/clash/x2.txt")" 12

# The plan before the first move: a series renumbered one up and a swap
# succeed whole, undo brings every name back.
mkdir -p "$WORK/series"
for n in 001 002 003 004 005; do printf '%s' "$n" >"$WORK/series/$n.jpg"; done
run rename --rule 'FILENAME REMOVE all' --rule 'FILENAME PREFIX digit length:3:1' \
  "$(p series/001.jpg)" "$(p series/002.jpg)" "$(p series/003.jpg)" "$(p series/004.jpg)" "$(p series/005.jpg)" \
  --save-batch "$(p series.qvb)"
check "renumbering one up exits 0" same "$STATUS" 0
check "renumbered series" same "$(cat "$WORK/series/002.jpg" "$WORK/series/006.jpg")" "001005"
check "renumbered without a failure line" same "$(grep -c 'has been changed to' "$WORK/out")" 5
run undo --batch "$(p series.qvb)"
check "renumbered series undone" same "$(cat "$WORK/series/001.jpg" "$WORK/series/005.jpg"; ls "$WORK/series" | wc -l | tr -d ' ')" "0010055"
mkdir -p "$WORK/swap"
printf A >"$WORK/swap/a.txt"; printf B >"$WORK/swap/b.txt"
run rename --rule 'FILENAME REPLACE "a" with "c"' --rule 'FILENAME REPLACE "b" with "a"' --rule 'FILENAME REPLACE "c" with "b"' \
  "$(p swap/a.txt)" "$(p swap/b.txt)" --save-batch "$(p swap.qvb)"
check "swap exits 0" same "$STATUS" 0
check "swapped" same "$(cat "$WORK/swap/a.txt" "$WORK/swap/b.txt"; ls "$WORK/swap" | wc -l | tr -d ' ')" "BA2"
run undo --batch "$(p swap.qvb)"
check "swap undone" same "$(cat "$WORK/swap/a.txt" "$WORK/swap/b.txt")" "AB"

# Names Windows refuses or alters are refused before anything moves, natively
# as under Windows; the preview says why.
mkdir -p "$WORK/names"
for n in dot blank res; do printf '%s' "$n" >"$WORK/names/$n.jpg"; done
run preview --rule 'FILEEXT REMOVE all' "$(p names/dot.jpg)"
check "trailing dot previewed as refused" same "$(cat "$WORK/out")" \
  "\"$(p names/dot.jpg)\"  will be changed to  \"$(p names/dot.)\"  (refused: Windows does not allow the name)"
check "a preview with a refusal exits 1" same "$STATUS" 1
run rename --rule 'FILEEXT REMOVE all' "$(p names/dot.jpg)"
check "trailing dot refused" same "$(cat "$WORK/out")" "\"$(p names/dot.jpg)\"  change failed with  \"$(p names/dot.)\""
run rename --rule 'FILEEXT SUFFIX " "' "$(p names/blank.jpg)"
check "trailing blank refused" grep -qF "change failed with  \"$(p "names/blank.jpg ")\"" "$WORK/out"
run rename --rule 'FILENAME REMOVE all' --rule 'FILENAME PREFIX "con"' "$(p names/res.jpg)"
check "reserved name refused" grep -qF "change failed with  \"$(p names/con.jpg)\"" "$WORK/out"
check "refused files untouched" same "$(cat "$WORK/names/dot.jpg" "$WORK/names/blank.jpg" "$WORK/names/res.jpg"; ls "$WORK/names" | wc -l | tr -d ' ')" "dotblankres3"

# Names differing only in letter case: one file under Windows, two natively.
mkdir -p "$WORK/case"
printf 1 >"$WORK/case/a1.txt"; printf 2 >"$WORK/case/A2.txt"; printf P >"$WORK/case/Photo.JPG"
run rename --rule 'FILENAME REMOVE right length:1' "$(p case/a1.txt)" "$(p case/A2.txt)"
if [ $WINE = 1 ]; then
  check "names differing in case clash" grep -qF "\"$(p case/A2.txt)\"  change failed with  \"$(p case/A.txt)\"" "$WORK/out"
  check "the clash lost nothing" same "$(cat "$WORK/case/a.txt" "$WORK/case/A2.txt")" 12
else
  check "names differing in case are two names" same "$(cat "$WORK/case/a.txt" "$WORK/case/A.txt")" 12
fi
run rename --rule 'FILEEXT LOWERCASE all' "$(p case/Photo.JPG)" --save-batch "$(p case.qvb)"
check "case-only rename exits 0" same "$STATUS" 0
check "case-only rename done" test -f "$WORK/case/Photo.jpg" -a ! -e "$WORK/case/Photo.JPG"
run undo --batch "$(p case.qvb)"
check "case-only rename undone" test -f "$WORK/case/Photo.JPG" -a ! -e "$WORK/case/Photo.jpg"

# A rename killed half-way: the batch file written before the first move
# lets undo take back every move that happened (native: a real SIGKILL).
if [ $WINE = 0 ]; then
  K="$WORK/killed"
  mkdir -p "$K"
  awk -v dir="$K" 'BEGIN { for (i = 1; i <= 20000; i++) { f = sprintf("%s/%05d.txt", dir, i); printf "%05d", i > f; close(f) } }'
  # Renumbered one up: one chain of 20,000 moves, the last file first.
  $QUORV rename --rule 'FILENAME REMOVE all' --rule 'FILENAME PREFIX digit length:5:1' --dir "$K" \
    --save-batch "$WORK/killed.qvb" >/dev/null 2>&1 &
  pid=$!
  while [ ! -e "$K/20001.txt" ] && kill -0 $pid 2>/dev/null; do :; done
  kill -9 $pid 2>/dev/null
  wait $pid 2>/dev/null
  check "the run was cut short" test -e "$K/00001.txt" -a -e "$K/20001.txt"
  run undo --batch "$WORK/killed.qvb"
  check "undo after the kill exits 0" same "$STATUS" 0
  check "undo after the kill writes a line per file" same "$(wc -l <"$WORK/out" | tr -d ' ')" 20000
  check "every name back" same "$(ls "$K" | wc -l | tr -d ' ') $(test -e "$K/20001.txt" && echo moved)" "20000 "
  check "every file holds its own name" same "$(cd "$K" && find . -name '*.txt' -exec awk 'FNR == 1 { n = FILENAME; sub(/^.\//, "", n); sub(/[.]txt$/, "", n); if ($0 != n) bad++ } END { print bad + 0 }' {} + | awk '{ s += $1 } END { print s }')" 0
fi

# media values through the command line: an MP3 tagged by id3v2 on both
# builds, a picture's size where the imaging library exists (Windows).
mkdir -p "$WORK/media"
if command -v lame >/dev/null && command -v id3v2 >/dev/null; then

  head -c 88200 /dev/zero | lame --quiet -r -s 44.1 --bitwidth 16 -m m -b 128 - "$WORK/media/song.mp3" 2>/dev/null
  id3v2 -a "Test Artist" -t "Quiet" "$WORK/media/song.mp3" >/dev/null 2>&1
  run apply --rule 'FILENAME PREFIX mp3tagv1 property:Artist' "$(p media/song.mp3)"
  check "mp3 artist in front of the name" same "$(cat "$WORK/out")" "$(p media/)Test Artistsong.mp3"
fi
IM=/usr/bin/convert
if [ $WINE = 1 ] && [ -x $IM ]; then
  $IM -size 640x480 xc:skyblue "$WORK/media/photo.jpg" 2>/dev/null
  run apply --rule 'FILENAME SUFFIX image property:resolution' "$(p media/photo.jpg)"
  check "picture size behind the name" same "$(cat "$WORK/out")" "$(p media/)photo640x480.jpg"
fi

# Names in four scripts and a path beyond 300 characters: preview, rename
# and undo on real files (the Windows build runs with UTF-8 as its narrow
# text through its manifest, and maps the letter case of every script).
JA='写真_表'; EL='Ελληνικά'; RU='Привет'; EM='party 🎉'
if [ $WINE = 1 ]; then EL_UP='ΕΛΛΗΝΙΚΆ'; RU_UP='ПРИВЕТ'; else EL_UP=$EL; RU_UP=$RU; fi
mkdir -p "$WORK/uni"
for n in "$JA" "$EL" "$RU" "$EM"; do printf '%s' "$n" >"$WORK/uni/$n.txt"; done
run preview --rule 'FILENAME PREFIX "✓ "' --dir "$(p uni)"
check "unicode preview exits 0" same "$STATUS" 0
check "unicode preview line" grep -qF "\"$(p "uni/$EL.txt")\"  will be changed to  \"$(p "uni/✓ $EL.txt")\"" "$WORK/out"
check "unicode preview has four lines" same "$(wc -l <"$WORK/out" | tr -d ' ')" 4
run rename --rule 'FILENAME PREFIX "✓ "' --rule 'FILENAME UPPERCASE all' --dir "$(p uni)" --save-batch "$(p uni.qvb)"
check "unicode rename exits 0" same "$STATUS" 0
check "unicode names renamed" test -f "$WORK/uni/✓ $JA.txt" -a -f "$WORK/uni/✓ $EL_UP.txt" -a -f "$WORK/uni/✓ $RU_UP.txt" -a -f "$WORK/uni/✓ PARTY 🎉.txt"
check "unicode rename line" grep -qF "\"$(p "uni/$RU.txt")\"  has been changed to  \"$(p "uni/✓ $RU_UP.txt")\"" "$WORK/out"
run undo --batch "$(p uni.qvb)"
check "unicode undo exits 0" same "$STATUS" 0
check "unicode names back" test -f "$WORK/uni/$JA.txt" -a -f "$WORK/uni/$EL.txt" -a -f "$WORK/uni/$RU.txt" -a -f "$WORK/uni/$EM.txt"
check "unicode content back" same "$(cat "$WORK/uni/$EM.txt")" "$EM"
run rules --write "$(p "uni/$JA.qvr")" "FILENAME SUFFIX \" $EM\""
run rules "$(p "uni/$JA.qvr")"
check "unicode rule file reads back" same "$(cat "$WORK/out")" "FILENAME SUFFIX \" $EM\""

L=long
while [ ${#L} -lt 300 ]; do L="$L/a-folder-of-a-path-beyond-300-characters"; done
L="$L/$RU"
mkdir -p "$WORK/$L"
printf deep >"$WORK/$L/$EM.txt"
run preview --rule 'FILENAME SUFFIX " ✓"' --dir "$(p "$L")"
check "long path previewed" grep -qF "\"$(p "$L/$EM.txt")\"  will be changed to  \"$(p "$L/$EM ✓.txt")\"" "$WORK/out"
run rename --rule 'FILENAME SUFFIX " ✓"' "$(p "$L/$EM.txt")" --save-batch "$(p "$L/run.qvb")"
check "long path rename exits 0" same "$STATUS" 0
check "long path renamed" test -f "$WORK/$L/$EM ✓.txt" -a ! -e "$WORK/$L/$EM.txt"
run undo --batch "$(p "$L/run.qvb")"
check "long path undo exits 0" same "$STATUS" 0
check "long path undone" test -f "$WORK/$L/$EM.txt" -a ! -e "$WORK/$L/$EM ✓.txt"
check "long path content kept" same "$(cat "$WORK/$L/$EM.txt")" deep

echo "$PASS passed, $FAIL failed"
[ $FAIL = 0 ]
