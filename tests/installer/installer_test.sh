#!/usr/bin/env bash
# The setup program under Wine, end to end.
#
#   installer_test.sh --wine-run WINE_RUN --setup SETUP.exe
#                     --probe menu_probe.exe --favorites-src DIR
#                     --expect NAME=BUILT_FILE...
#
# Silent install into a temporary folder with a blank in its name; the
# installed files equal the built ones (--expect); the favourites read back
# as their sources; the install folder in the registry exactly; the uninstall
# entry and the Start menu. The installed Quorv2.exe starts and, with
# "ShellMenu" ticked in its settings, registers the extension from the install
# folder; the extension's menu item carries its bitmap. A silent reinstall
# keeps the user's files; a silent uninstall unregisters the extension,
# removes what was installed and keeps the user's files; /PURGE removes them
# too. Runs inside build.sh's Wine prefix (wineserver warmed up, a display).
# Prints one line per check and "N passed, N failed".
set -u

WINE_RUN="" SETUP="" PROBE="" FAVSRC=""
EXPECT=()
while [ $# -gt 0 ]; do
  case $1 in
    --wine-run) WINE_RUN=$2; shift 2 ;;
    --setup) SETUP=$2; shift 2 ;;
    --probe) PROBE=$2; shift 2 ;;
    --favorites-src) FAVSRC=$2; shift 2 ;;
    --expect) EXPECT+=("$2"); shift 2 ;;
    *) echo "installer_test.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -n "$WINE_RUN" ] && [ -f "$SETUP" ] && [ -n "$PROBE" ] && [ -d "$FAVSRC" ] || {
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

cleanup() {
  wine_ "$PROBE" kill-window "Quorvane 2" >/dev/null 2>&1
  # Leave the shared prefix as it was found.
  wine_ reg delete "$PRODUCT_KEY" /f >/dev/null 2>&1
  wine_ reg delete "$UNINSTALL_KEY" /f >/dev/null 2>&1
  rm -rf "$STARTMENU" "$WORK"
}
trap cleanup EXIT

winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
WINST=$(winpath "$INST")

wine_() { "$WINE_RUN" "$@" </dev/null 2>>"$WORK/wine-stderr.txt"; }
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
check "silent install finishes" install_silently

for item in "${EXPECT[@]}"; do
  name=${item%%=*} built=${item#*=}
  check "$name installed as built" cmp -s "$built" "$INST/$name"
done
check "uninstaller written" test -f "$INST/Uninstall.exe"
for src in "$FAVSRC"/*.rules; do
  fav=$(basename "$src" .rules)
  check "favourite '$fav' installed" test -f "$INST/favorite/$fav.qvr"
  out=$(wine_ "$(winpath "$INST/quorv.exe")" rules "$(winpath "$INST/favorite/$fav.qvr")" 2>&1 | tr -d '\r' |
        grep -v -e 'wine32' -e 'multiarch' -e 'dpkg --add-architecture' -e 'apt-get install')
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

# ------------------------------------------ the program and its context menu
write_settings "$INST/Quorv.cfg"
( wine_ "$(winpath "$INST/Quorv2.exe")" >/dev/null 2>&1 & )
check "installed Quorv2.exe starts" wine_ "$PROBE" wait-window "Quorvane 2" 30000
check "ShellMenu registers the extension" wait_until 15 has_key "$HANDLER_KEY"
clsid=$(regval "$HANDLER_KEY" "")
check "extension registered from the install folder" \
  same "$(regval "HKCR\\CLSID\\$clsid\\InprocServer32" "")" "$WINST\\QuorvShell.dll"
wine_ "$PROBE" menu | tr -d '\r' >"$WORK/menu.txt"
check "menu item added" grep -qx 'item=&Batch Rename files...' "$WORK/menu.txt"
check "menu item carries the bitmap" grep -qx 'bitmap=yes' "$WORK/menu.txt"
check "separator above the item" grep -qx 'separator-above=yes' "$WORK/menu.txt"
grep -q '^item=' "$WORK/menu.txt" || sed 's/^/     /' "$WORK/menu.txt"
wine_ "$PROBE" kill-window "Quorvane 2" >/dev/null

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

# -------------------------------------------- /PURGE removes the user's files
check "install over the user's files" install_silently
check "silent uninstall with /PURGE finishes" uninstall_silently /PURGE
check "install folder removed with the user's files" wait_until 10 missing "$INST"

echo "$PASS passed, $FAIL failed"
[ $FAIL = 0 ]
