#!/usr/bin/env bash
# The setup program under Wine, end to end.
#
#   installer_test.sh --wine-run WINE_RUN --setup SETUP.exe
#                     --probe menu_probe.exe --favorites-src DIR
#                     --icacls-recorder icacls_recorder.exe
#                     --expect NAME=BUILT_FILE...
#
# Silent install into a temporary folder with a blank in its name; the
# access it gives the install folder (Wine's icacls.exe does nothing, so a
# recorder stands in for it during the first install: the commands the
# setup runs are checked, not their effect); the installed files equal the
# built ones (--expect); the favourites read back
# as their sources; the install folder in the registry exactly; the uninstall
# entry and the Start menu. The installed Quorv2.exe keeps its user's files
# in the user's own folder ("%LOCALAPPDATA%\Quorvane 2"), never in the
# install folder: started and closed, it writes its settings there; its
# first start takes over the settings an earlier version left in the
# install folder, and with "ShellMenu" ticked in them registers the
# extension from the install folder; the extension's menu item carries its
# bitmap; a rule file saved lands among the user's favourites while the
# installed ones still list; the registered extension's menu command hands
# files over through the user's folder. A silent reinstall keeps the user's
# files; a silent uninstall unregisters the extension, removes what was
# installed and the handoff files left behind, and keeps the user's files
# and folder; run by its user, the uninstaller asks first (the default
# answer keeps them, Yes removes them);
# /PURGE removes them without asking. Runs inside build.sh's Wine prefix
# (wineserver warmed up, a display); the prefix user's own folder is set
# aside meanwhile and put back. Prints one line per check and
# "N passed, N failed".
set -u

WINE_RUN="" SETUP="" PROBE="" FAVSRC="" RECORDER=""
EXPECT=()
while [ $# -gt 0 ]; do
  case $1 in
    --wine-run) WINE_RUN=$2; shift 2 ;;
    --setup) SETUP=$2; shift 2 ;;
    --probe) PROBE=$2; shift 2 ;;
    --favorites-src) FAVSRC=$2; shift 2 ;;
    --icacls-recorder) RECORDER=$2; shift 2 ;;
    --expect) EXPECT+=("$2"); shift 2 ;;
    *) echo "installer_test.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -n "$WINE_RUN" ] && [ -f "$SETUP" ] && [ -n "$PROBE" ] && [ -d "$FAVSRC" ] && [ -f "$RECORDER" ] || {
  echo "installer_test.sh: missing argument or file (setup: $SETUP)" >&2; exit 2; }

PASS=0 FAIL=0
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorv-setup.XXXXXX")
INST="$WORK/Quorvane 2 test"
# Wine must not put menu entries for the test's shortcuts into the host's desktop.
export WINEDLLOVERRIDES="winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
PREFIX=${QUORV_WINEPREFIX:-${WINEPREFIX:-$HOME/.wine}}
STARTMENU="$PREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvane 2"
PRODUCT_KEY='HKLM\SOFTWARE\Quorvane 2'
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane 2'
HANDLER_KEY='HKCR\*\shellex\ContextMenuHandlers\Quorvane Shell'

USERDIR=""  # the user's own folder (host path), found below
ICACLS="$PREFIX/drive_c/windows/system32/icacls.exe"
put_back_icacls() { [ -f "$WORK/icacls.exe" ] && mv -f "$WORK/icacls.exe" "$ICACLS"; }
cleanup() {
  put_back_icacls
  wine_ "$PROBE" kill-window "Quorvane 2" >/dev/null 2>&1
  # Leave the shared prefix as it was found.
  wine_ reg delete "$PRODUCT_KEY" /f >/dev/null 2>&1
  wine_ reg delete "$UNINSTALL_KEY" /f >/dev/null 2>&1
  if [ -n "$USERDIR" ]; then
    rm -rf "$USERDIR"
    [ -e "$USERDIR.set-aside" ] && mv "$USERDIR.set-aside" "$USERDIR"
  fi
  rm -rf "$STARTMENU" "$WORK"
}
trap cleanup EXIT
# A test stopped from outside (its time is up) puts the prefix back too.
trap "exit 1" TERM INT HUP

winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
WINST=$(winpath "$INST")

wine_() { "$WINE_RUN" "$@" </dev/null 2>>"$WORK/wine-stderr.txt"; }
strip_wine() { tr -d '\r' | grep -v -e 'wine32' -e 'multiarch' -e 'dpkg --add-architecture' -e 'apt-get install'; }

# The user's own folder as Wine's processes and this script see it; what an
# earlier run of the prefix left there is set aside until the end.
USERWIN=$(wine_ "$PROBE" user-folder | strip_wine | head -1)
USERDIR=$(wine_ winepath -u "$USERWIN" | strip_wine | head -1)
USERDIR=${USERDIR%/}
[ -n "$USERWIN" ] && [ -n "$USERDIR" ] || { echo "installer_test.sh: the user's folder is unknown" >&2; exit 2; }
rm -rf "$USERDIR.set-aside"
[ -e "$USERDIR" ] && mv "$USERDIR" "$USERDIR.set-aside"
# The value of a registry entry as reg.exe prints it; empty when missing.
regval() {  # regval KEY NAME ("" for the default value)
  local out
  if [ -z "$2" ]; then out=$(wine_ reg query "$1" /ve); else out=$(wine_ reg query "$1" /v "$2"); fi
  printf '%s\n' "$out" | tr -d '\r' | sed -n 's/^ *[^ ].*  *REG_[A-Z_]*  *\(.*\)$/\1/p' | head -1
}
has_key() { wine_ reg query "$1" >/dev/null 2>&1; }
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then PASS=$((PASS + 1)); echo "ok   $name"
  else FAIL=$((FAIL + 1)); echo "FAIL $name"; fi
}
same() { [ "$1" = "$2" ] || { echo "     got:      [$1]"; echo "     expected: [$2]"; return 1; }; }
not() { ! "$@"; }
wait_until() {  # wait_until SECONDS COMMAND...: true once COMMAND succeeds
  local limit=$(( $1 * 10 )) i=0; shift
  while ! "$@"; do
    i=$((i + 1)); [ $i -ge $limit ] && return 1
    sleep 0.1
  done
}
missing() { [ ! -e "$1" ]; }
no_key() { ! has_key "$1"; }

estimated_size() { [ -n "$(regval "$UNINSTALL_KEY" EstimatedSize)" ]; }
install_silently() {  # the folder last and unquoted, through cmd as the setup's users do it
  wine_ cmd /c "$(winpath "$SETUP") /S /D=$WINST" >/dev/null
  # The size in the uninstall entry is the setup's last step.
  wait_until 30 test -f "$INST/Uninstall.exe" && wait_until 30 estimated_size
}
uninstall_silently() {  # ARGS...: the uninstaller copies itself away and returns at once
  wine_ "$(winpath "$INST/Uninstall.exe")" /S "$@" >/dev/null
  wait_until 30 missing "$INST/Uninstall.exe"
}

# The settings file with "ShellMenu" ticked: Case 0, QuickView 1, Exclude 0,
# Subdir 0, two empty folders, ShellMenu 1, theme 5, 800 x 600, not maximized.
write_settings() {
  printf '\0\0\0\0\1\0\0\0\0\0\0\0\0\0\0\0\0\0\1\0\0\0\5\0\0\0\40\3\0\0\130\2\0\0\0\0\0\0' >"$1"
}

# ------------------------------------------------------------------ install
# The first install with the recorder in icacls.exe's place (a native
# program there runs only when asked for by name).
cp "$ICACLS" "$WORK/icacls.exe" && cp "$RECORDER" "$ICACLS" || { echo "installer_test.sh: no icacls.exe to stand in for" >&2; exit 2; }
export QUORV_ICACLS_LOG
QUORV_ICACLS_LOG=$(winpath "$WORK/icacls.txt")
WINEDLLOVERRIDES="icacls.exe=n;$WINEDLLOVERRIDES" check "silent install finishes" install_silently
put_back_icacls
unset QUORV_ICACLS_LOG

# No user of the computer may write into the install folder: it gets an
# access list of its own (nothing inherited from the folder it lies in),
# full access for the system and the administrators, read and run for the
# users and no one else; everything inside takes it over; the
# administrators own it all.
tr -d '\r' <"$WORK/icacls.txt" 2>/dev/null >"$WORK/icacls.log"
granted() {  # every grant of every recorded command, one a line, sorted
  awk '{ g = 0; for (i = 1; i <= NF; i++) {
           if ($i ~ /^\/grant/) { g = 1; continue }
           if ($i ~ /^\//) g = 0; else if (g) print $i } }' "$WORK/icacls.log" | sort -u | tr '\n' ' '
}
check "the setup sets the install folder's access" \
  grep -qF "\"$WINST\" /inheritance:r /grant:r " "$WORK/icacls.log"
check "full access for the system and administrators, read and run for users, nothing more" \
  same "$(granted)" "*S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX "
check "the installed files take the folder's access over" grep -qF "\"$WINST\\*\" /reset /T" "$WORK/icacls.log"
check "the administrators own the installed files" grep -qF "\"$WINST\" /setowner *S-1-5-32-544 /T" "$WORK/icacls.log"
grep -q inheritance "$WORK/icacls.log" 2>/dev/null || sed 's/^/     /' "$WORK/icacls.log"

for item in "${EXPECT[@]}"; do
  name=${item%%=*} built=${item#*=}
  check "$name installed as built" cmp -s "$built" "$INST/$name"
done
check "uninstaller written" test -f "$INST/Uninstall.exe"
for src in "$FAVSRC"/*.rules; do
  fav=$(basename "$src" .rules)
  check "favourite '$fav' installed" test -f "$INST/favorite/$fav.qvr"
  out=$(wine_ "$(winpath "$INST/quorv.exe")" rules "$(winpath "$INST/favorite/$fav.qvr")" 2>&1 | strip_wine)
  check "favourite '$fav' reads back as its source" same "$out" "$(grep -v '^$' "$src" | tr -d '\r')"
done

check "install folder in the registry, exactly" same "$(regval "$PRODUCT_KEY" "")" "$WINST"
check "uninstall entry: name" same "$(regval "$UNINSTALL_KEY" DisplayName)" "Quorvane 2"
check "uninstall entry: version" test -n "$(regval "$UNINSTALL_KEY" DisplayVersion)"
check "uninstall entry: publisher" same "$(regval "$UNINSTALL_KEY" Publisher)" "The Quorvane 2 developers"
check "uninstall entry: icon" same "$(regval "$UNINSTALL_KEY" DisplayIcon)" "$WINST\\Quorv2.exe,0"
check "uninstall entry: uninstall string" same "$(regval "$UNINSTALL_KEY" UninstallString)" "\"$WINST\\Uninstall.exe\""
size=$(regval "$UNINSTALL_KEY" EstimatedSize)
check "uninstall entry: size in KiB" test -n "$size" -a "$((size))" -gt 0
check "Start menu: program" test -f "$STARTMENU/Quorvane 2.lnk"
check "Start menu: manual" test -f "$STARTMENU/Quorvane 2 User Manual.lnk"
check "Start menu: uninstaller" test -f "$STARTMENU/Uninstall Quorvane 2.lnk"

# ------------------------------------------------ the user's own folder
PROGRAM="$WINST\\Quorv2.exe"
start_program() {
  ( wine_ "$PROGRAM" >/dev/null 2>&1 & )
  wine_ "$PROBE" wait-window "Quorvane 2" 30000 >/dev/null
}
check "no user's folder before the first start" missing "$USERDIR"
check "installed Quorv2.exe starts" start_program
check "installed Quorv2.exe closes" wine_ "$PROBE" close-program "$PROGRAM"
check "its settings land in the user's folder" test -s "$USERDIR/Quorv.cfg"
check "and not in the install folder" missing "$INST/Quorv.cfg"
check "nothing else written into the install folder" \
  same "$(cd "$INST" && LC_ALL=C ls | tr '\n' ' ')" "COPYING.id3lib.txt LICENSE.txt Quorv2.exe QuorvShell.dll README.txt Uninstall.exe favorite quorv.exe quorv2.chm "

# -------------------------------- moving in, and the program's context menu
# Settings an earlier version kept in the install folder ("ShellMenu"
# ticked) are taken over by a user's first start.
rm -rf "$USERDIR"
write_settings "$INST/Quorv.cfg"
cp "$INST/Quorv.cfg" "$WORK/old-settings"
check "installed Quorv2.exe starts for a new user" start_program
# (The window's title shows before its start-up has run: wait for the file.)
check "the earlier version's settings moved in" wait_until 10 cmp -s "$USERDIR/Quorv.cfg" "$WORK/old-settings"
check "ShellMenu registers the extension" wait_until 15 has_key "$HANDLER_KEY"
clsid=$(regval "$HANDLER_KEY" "")
check "extension registered from the install folder" \
  same "$(regval "HKCR\\CLSID\\$clsid\\InprocServer32" "")" "$WINST\\QuorvShell.dll"
wine_ "$PROBE" menu | tr -d '\r' >"$WORK/menu.txt"
check "menu item added" grep -qx 'item=&Batch Rename files...' "$WORK/menu.txt"
check "menu item carries the bitmap" grep -qx 'bitmap=yes' "$WORK/menu.txt"
check "separator above the item" grep -qx 'separator-above=yes' "$WORK/menu.txt"
grep -q '^item=' "$WORK/menu.txt" || sed 's/^/     /' "$WORK/menu.txt"

# A rule file saved from the program: the save dialog starts among the
# user's favourites; the installed ones stay listed beside it.
wine_ "$PROBE" save-favourite "$PROGRAM" "Saved here" | strip_wine >"$WORK/favourites.txt"
check "a saved rule file lands in the user's favourites" test -f "$USERDIR/favorite/Saved here.qvr"
check "and not in the install folder" missing "$INST/favorite/Saved here.qvr"
check "the saved one is listed" grep -qx 'favourite=Saved here' "$WORK/favourites.txt"
for src in "$FAVSRC"/*.rules; do
  fav=$(basename "$src" .rules)
  check "the installed favourite '$fav' still listed" grep -qx "favourite=$fav" "$WORK/favourites.txt"
done
grep -q "^favourite=Saved here" "$WORK/favourites.txt" && [ "$(grep -c '^favourite=' "$WORK/favourites.txt")" -gt 6 ] ||
  sed 's/^/     /' "$WORK/favourites.txt"
check "the program closed after saving" wait_until 10 not wine_ "$PROBE" wait-window "Quorvane 2" 0
check "the install folder's old settings untouched" cmp -s "$INST/Quorv.cfg" "$WORK/old-settings"

# The registered extension hands files over through the user's folder: an
# entry still waiting there is read with the new ones; a handoff file in the
# install folder (one user's selection in a shared place) is never read.
mkdir -p "$WORK/files"
printf 'a' >"$WORK/files/a.txt"; printf 'b' >"$WORK/files/b.txt"
printf 'C:\\waiting in the user folder.txt\r\n' >"$USERDIR/Quorv2.qv2"
printf 'C:\\left in the install folder.txt\r\n' >"$INST/Quorv2.qv2"
: >"$USERDIR/Quorv2.qv2.taken1"; : >"$INST/Quorv2.qv2.taken1"   # moved aside once and never deleted
wine_ "$PROBE" hand-over "$PROGRAM" "$(winpath "$WORK/files/a.txt")" "$(winpath "$WORK/files/b.txt")" |
  strip_wine >"$WORK/handover.txt"
check "the handed-over files reach the installed program through the user's folder" \
  same "$(sed -n 's/^file=//p' "$WORK/handover.txt" | tr '\n' '|')" \
       "C:\\waiting in the user folder.txt|$(winpath "$WORK/files/a.txt")|$(winpath "$WORK/files/b.txt")|"
check "the user's handoff file consumed" missing "$USERDIR/Quorv2.qv2"
check "the install folder's handoff file left unread" test -s "$INST/Quorv2.qv2"
grep -q '^file=' "$WORK/handover.txt" || sed 's/^/     /' "$WORK/handover.txt"

# ------------------------------------------------- the user's files survive
wine_ "$(winpath "$INST/quorv.exe")" rules --write "$(winpath "$INST/favorite/Mine.qvr")" 'FILENAME PREFIX "mine_"' >/dev/null
printf '\0\0\0\0\0\0\0\0\0\0\0\0' >"$INST/Mine.qvb"
cp "$INST/Quorv.cfg" "$WORK/settings.copy"
check "user rule file saved" test -s "$INST/favorite/Mine.qvr"

check "silent reinstall finishes" install_silently
check "reinstall keeps the settings" cmp -s "$INST/Quorv.cfg" "$WORK/settings.copy"
check "reinstall keeps the user's rule file" test -s "$INST/favorite/Mine.qvr"

# Handoff files no start has read, and those a start moved aside but could not delete.
for left in Quorv2.qv2 Quorv2.qv2.taken Quorv2.qv2.taken7; do printf 'C:\\a.txt\0' >"$INST/$left"; done

check "silent uninstall finishes" uninstall_silently
wait_until 10 no_key "$UNINSTALL_KEY"
for item in "${EXPECT[@]}"; do
  name=${item%%=*}
  check "$name removed" missing "$INST/$name"
done
for src in "$FAVSRC"/*.rules; do
  fav=$(basename "$src" .rules)
  check "favourite '$fav' removed" missing "$INST/favorite/$fav.qvr"
done
check "extension unregistered" no_key "$HANDLER_KEY"
check "install folder value removed" no_key "$PRODUCT_KEY"
check "uninstall entry removed" no_key "$UNINSTALL_KEY"
check "Start menu entry removed" missing "$STARTMENU"
for left in Quorv2.qv2 Quorv2.qv2.taken Quorv2.qv2.taken7; do
  check "handoff file $left removed" missing "$INST/$left"
done
check "user's rule file kept" test -s "$INST/favorite/Mine.qvr"
check "user's batch file kept" test -f "$INST/Mine.qvb"
check "settings kept" test -f "$INST/Quorv.cfg"
check "the user's folder kept: settings" test -s "$USERDIR/Quorv.cfg"
check "the user's folder kept: saved rule file" test -f "$USERDIR/favorite/Saved here.qvr"
check "leftover handoff files removed from the user's folder" missing "$USERDIR/Quorv2.qv2.taken1"
check "leftover handoff files removed from the install folder" missing "$INST/Quorv2.qv2.taken1"
check "unread handoff file removed from the install folder" missing "$INST/Quorv2.qv2"

# --------------------------------- the question of the uninstaller's user
# Run as its user runs it, the uninstaller asks before removing the user's
# own files, and its default answer keeps them.
uninstall_answering() {  # ANSWER: "enter" (the default) or a button's text
  # (Into a file: the uninstaller it starts inherits its output.)
  local status=0
  wine_ "$PROBE" uninstall "$(winpath "$INST/Uninstall.exe")" "$1" >"$WORK/question.raw" || status=1
  strip_wine <"$WORK/question.raw" | sort -u >"$WORK/question.txt"
  [ $status = 0 ] && wait_until 30 missing "$INST/Uninstall.exe"
}
show_question() { sed 's/^/     /' "$WORK/question.txt"; }
check "install over the user's files" install_silently
check "uninstall answered with Enter finishes" uninstall_answering enter
check "the uninstaller asks about the user's own files" grep -qx 'asked=yes' "$WORK/question.txt"
check "the question names the user's folder" grep -qiF "$USERWIN" "$WORK/question.txt"
check "its default answer is No" grep -qx 'default=&No' "$WORK/question.txt"
grep -qx 'default=&No' "$WORK/question.txt" || show_question
check "Enter keeps the user's folder: settings" test -s "$USERDIR/Quorv.cfg"
check "Enter keeps the user's folder: saved rule file" test -f "$USERDIR/favorite/Saved here.qvr"
check "Enter keeps the settings in the install folder" test -f "$INST/Quorv.cfg"
check "the installed program is gone all the same" missing "$INST/Quorv2.exe"

check "install over the user's files again" install_silently
check "uninstall answered Yes finishes" uninstall_answering "&Yes"
check "asked again" grep -qx 'asked=yes' "$WORK/question.txt"
check "Yes removes the user's folder" wait_until 10 missing "$USERDIR"
check "Yes removes the install folder with the user's files" wait_until 10 missing "$INST"

# -------------------------------------------- /PURGE removes the user's files
check "install for /PURGE" install_silently
mkdir -p "$USERDIR/favorite"
write_settings "$USERDIR/Quorv.cfg"
: >"$USERDIR/favorite/Saved here.qvr"
check "silent uninstall with /PURGE finishes" uninstall_silently /PURGE
check "install folder removed with the user's files" wait_until 10 missing "$INST"
check "the user's folder removed with the user's files" missing "$USERDIR"

echo "$PASS passed, $FAIL failed"
[ $FAIL = 0 ]
