#!/bin/sh
# The program at the display scales Windows offers beyond 100 %. The
# ordinary test run is at 96 DPI; this runs the display scale cases again in
# a Wine prefix of their own (the build's prefix with "-scale" appended),
# whose DPI (LogPixels) is set before each run, on a virtual screen of its
# own large enough for the window: the end-to-end cases DisplayScale*, and
# at 144 DPI also the captions and DPI change cases of the window code.
#
#   display_scale.sh E2E_TESTS_EXE DISPLAY_SCALE_TESTS_EXE [DPI...]
#
# The test run asks for 125 %, 150 % and 200 % (DPI 120 144 192), about two
# minutes; with no DPI given it runs 150 % alone. Screenshots are named after
# the DPI.
#
# Wine reads LogPixels when its server starts, and the first Wine process
# of a prefix opens the display for it: the server is ended after each run,
# and every Wine process here writes into files (never into CTest's pipe,
# which the server's helper processes would keep open).
set -u

E2E=${1:?usage: display_scale.sh E2E_TESTS_EXE DISPLAY_SCALE_TESTS_EXE [DPI...]}
WINDOWS=${2:?usage: display_scale.sh E2E_TESTS_EXE DISPLAY_SCALE_TESTS_EXE [DPI...]}
shift 2
DPIS=${*:-144}

BASE=${QUORV_WINEPREFIX:-${WINEPREFIX:-$HOME/.wine}}
export WINEPREFIX="$BASE-scale"
export WINEDEBUG=-all
LOGS=$(mktemp -d "${TMPDIR:-/tmp}/quorv-scale.XXXXXX")
XVFB=""

stop_display() {
  wineserver -k >/dev/null 2>&1 </dev/null
  wineserver -w >/dev/null 2>&1 </dev/null
  if [ -n "$XVFB" ]; then
    kill "$XVFB" 2>/dev/null
    wait "$XVFB" 2>/dev/null
    XVFB=""
  fi
}
trap 'stop_display; rm -rf "$LOGS"' EXIT

# A virtual screen of the given size on a free display number.
start_display() {
  n=120
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 "$1"x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  XVFB=$!
  export DISPLAY=:$n
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
}

quiet() { "$@" >/dev/null 2>&1 </dev/null; }

status=0
for dpi in $DPIS; do
  # 200 % needs a screen larger than 1920 x 1200 for a window of 1600 x
  # 1200 pixels and its frame.
  if [ "$dpi" -gt 144 ]; then start_display 2560x1600; else start_display 1920x1200; fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "display scale: creating the prefix $WINEPREFIX"
    quiet wineboot -i
    quiet wineserver -w
    # Without a window manager Wine waits 2 s on every closing window.
    quiet wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
  fi
  quiet wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
  quiet wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f
  quiet wineserver -k
  quiet wineserver -w
  quiet wineserver -p
  quiet wine cmd /c exit
  "$(dirname "$0")/../../cmake/wine-own-folders.sh" "$WINEPREFIX"

  log=$LOGS/e2e-$dpi.log
  echo "display scale: $dpi DPI, end to end ($DISPLAY)"
  if wine "$E2E" --gtest_filter='DisplayScale*' >"$log" 2>&1 </dev/null; then
    grep -E '^\[ +(OK|PASSED) ' "$log" | sed "s/^/  $dpi DPI: /"
  else
    echo "display scale: the end-to-end cases failed at $dpi DPI:"
    grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' \
      "$log" | tr -d '\r'
    status=1
  fi
  if [ "$dpi" = 144 ]; then
    log=$LOGS/windows-$dpi.log
    echo "display scale: $dpi DPI, captions and DPI changes"
    if wine "$WINDOWS" >"$log" 2>&1 </dev/null; then
      grep -E '^\[ +(OK|PASSED) ' "$log" | sed "s/^/  $dpi DPI: /"
    else
      echo "display scale: the window cases failed at $dpi DPI:"
      tr -d '\r' <"$log"
      status=1
    fi
  fi
  stop_display
done
exit $status
