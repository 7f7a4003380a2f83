#!/usr/bin/env bash
# Quorvane 2: set-up, build and test on Debian.
#
#   ./build.sh          install what is missing, build natively and for Windows
#   ./build.sh run      build, then start the program (under Wine, on a virtual
#                       display when there is none) and save a screenshot
#   ./build.sh test     build, then run every test: the native suite (ASan +
#                       UBSan), the Windows executables under Wine, the fuzzers
#                       for a bounded time, and the benchmarks (figures only)
#   ./build.sh bench    build and print the benchmark figures
#
# For the inner loop (one test executable, one filter):
#   ./build.sh native                 native build only
#   ./build.sh ctest-native [ARGS]    ctest ARGS in the native build
#   ./build.sh win                    Windows build only
#   ./build.sh ctest-win [ARGS]       ctest ARGS in the Windows build, under Wine
#   ./build.sh fuzz                   fuzz build, then the fuzzers
#   ./build.sh bench-window [ARGS]    the window benchmark alone, under Wine
#                                     (ARGS: folders files-per-folder [handover])
# QUORV_BUILD=<dir> moves the whole build folder; QUORV_WINEPREFIX the prefix.
#
# Everything lands in build/: build/native (tests, sanitizers), build/release
# (optimised command line and benchmarks), build/fuzz (clang + libFuzzer),
# build/win (mingw-w64), build/wine-prefix (the private Wine prefix),
# build/deps (third-party sources fetched from Debian's source packages).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")" && pwd)
BUILD=${QUORV_BUILD:-$ROOT/build}
JOBS=${JOBS:-$(nproc)}
FUZZ_SECONDS=${FUZZ_SECONDS:-20}
export QUORV_WINEPREFIX=${QUORV_WINEPREFIX:-$BUILD/wine-prefix}
export WINEPREFIX=$QUORV_WINEPREFIX WINEDEBUG=-all

log() { printf '==> %s\n' "$*"; }

# ---------------------------------------------------------------- packages
PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest
  mingw-w64 mingw-w64-tools wine wine64 libwine-dev xvfb
  libz-mingw-w64-dev libid3-3.8.3-dev
  lame id3v2 imagemagick x11-apps fonts-wine dpkg-dev patch xz-utils
  locales fp-utils nsis python3 fonts-wqy-microhei
)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    log "installing from Debian: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# ------------------------------------------------------------------- deps
# Third-party sources for the Windows build, from Debian's source packages.
fetch_deps() {
  if [ -x "$ROOT/cmake/fetch-deps.sh" ]; then
    "$ROOT/cmake/fetch-deps.sh" "$BUILD/deps"
  fi
}

# ------------------------------------------------------------------ builds
configure() {  # dir, cmake args...
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja -DQUORV_DEPS_DIR="$BUILD/deps" "$@" >/dev/null
  fi
}

build_native() {
  log "native build (g++, ASan + UBSan)"
  configure "$BUILD/native" -DCMAKE_BUILD_TYPE=Debug -DQUORV_SANITIZE=ON -DQUORV_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-O1"
  cmake --build "$BUILD/native" -j "$JOBS"
}

build_release() {
  log "native release build (command line, benchmarks)"
  configure "$BUILD/release" -DCMAKE_BUILD_TYPE=Release -DQUORV_TESTS=OFF
  cmake --build "$BUILD/release" -j "$JOBS"
}

build_fuzz() {
  log "fuzz build (clang, libFuzzer)"
  configure "$BUILD/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORV_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
  cmake --build "$BUILD/fuzz" -j "$JOBS"
}

build_windows() {
  log "Windows build (mingw-w64, static)"
  configure "$BUILD/win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DQUORV_BENCH=OFF
  cmake --build "$BUILD/win" -j "$JOBS"
}

build_all() {
  install_packages
  fetch_deps
  build_native
  build_release
  build_windows
}

# -------------------------------------------------------------------- wine
XVFB_PID=""
start_display() {
  if [ -z "${DISPLAY:-}" ]; then
    local n=97
    while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  fi
}

# Wine's helper processes inherit the first client's pipes: start and warm
# the wineserver outside CTest with everything redirected, or every test
# waits on them (or CTest never sees the end of its output).
start_wine() {
  start_display
  if [ ! -f "$QUORV_WINEPREFIX/system.reg" ]; then
    log "creating the private Wine prefix"
    wineboot -i >/dev/null 2>&1 </dev/null || true
    wineserver -w
    # Without a window manager Wine waits 2 s on every closing window.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
    # Glyphs for Chinese and Japanese names: the dialog font links to
    # "SimSun" for them, which a free CJK font stands in for here.
    local cjk=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
    if [ -f "$cjk" ]; then
      cp "$cjk" "$QUORV_WINEPREFIX/drive_c/windows/Fonts/simsun.ttc"
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d 'WenQuanYi Micro Hei' /f \
        >/dev/null 2>&1 </dev/null || true
    fi
    wineserver -w
  fi
  wineserver -p >/dev/null 2>&1 </dev/null
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
  # After the first start: an update of the prefix makes the links anew.
  "$ROOT/cmake/wine-own-folders.sh" "$QUORV_WINEPREFIX"
}

stop_wine() {
  wineserver -k >/dev/null 2>&1 </dev/null || true
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
    unset DISPLAY
  fi
}

# A private ja_JP locale: with it Wine's ANSI code page is 932.
make_locale() {
  local dir=$BUILD/locale
  if [ ! -d "$dir/ja_JP.UTF-8" ]; then
    mkdir -p "$dir"
    localedef -i ja_JP -f UTF-8 "$dir/ja_JP.UTF-8" >/dev/null 2>&1 || true
  fi
  export QUORV_LOCPATH=$dir
}

# -------------------------------------------------------------------- runs
run_fuzzers() {
  local dir=$BUILD/fuzz/tests/fuzz
  local failed=0
  for f in "$dir"/fuzz_*; do
    [ -x "$f" ] || continue
    local name; name=$(basename "$f")
    local corpus=$BUILD/fuzz-corpus/$name seeds=$ROOT/tests/fuzz/seeds/$name regress=$ROOT/tests/fuzz/regressions/$name
    mkdir -p "$corpus" "$BUILD/fuzz-crashes"
    if [ -d "$regress" ] && compgen -G "$regress/*" >/dev/null; then
      log "$name: regression inputs"
      "$f" "$regress"/* >/dev/null 2>&1 || { echo "$name: a regression input fails"; failed=1; }
    fi
    log "$name: fuzzing for ${FUZZ_SECONDS}s"
    local dirs=("$corpus")
    [ -d "$seeds" ] && dirs+=("$seeds")
    if ! "$f" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 -artifact_prefix="$BUILD/fuzz-crashes/$name-" \
         "${dirs[@]}" >"$BUILD/fuzz-$name.log" 2>&1; then
      echo "$name: crashed; input kept under $BUILD/fuzz-crashes (log: $BUILD/fuzz-$name.log)"
      tail -30 "$BUILD/fuzz-$name.log"
      failed=1
    else
      grep -E 'stat::number_of_executed_units' "$BUILD/fuzz-$name.log" | sed "s/^/    $name /" || true
    fi
  done
  return $failed
}

run_tests() {
  local status=0
  log "native tests"
  (cd "$BUILD/native" && ctest --output-on-failure -j "$JOBS") || status=1

  log "Windows tests under Wine"
  make_locale
  start_wine
  (cd "$BUILD/win" && ctest --output-on-failure -j "$JOBS" --timeout 300) || status=1
  stop_wine

  build_fuzz
  run_fuzzers || status=1

  run_bench || true
  return $status
}

run_bench() {
  log "benchmarks (figures only, never a failure)"
  for b in "$BUILD/release/bench"/bench_*; do
    [ -x "$b" ] || continue
    "$b" || echo "$(basename "$b") did not finish"
  done
  "$ROOT/bench/scan_vs_find.sh" "$BUILD/release/cli/quorv" || echo "scan_vs_find.sh did not finish"
  # The main window under Wine against the command line (a few minutes).
  local window=$BUILD/win/tests/e2e/e2e_window_bench.exe
  if [ -f "$window" ]; then
    log "window benchmark (Quorv2.exe and quorv.exe under Wine)"
    start_wine
    "$ROOT/cmake/wine-run.sh" "$window" 2>&1 </dev/null | tr -d '\r' |
      grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' \
        -e 'apt-get install wine32' -e 'Read access denied for device' ||
      echo "e2e_window_bench did not finish"
    stop_wine
  fi
}

run_program() {
  local demo=$BUILD/demo
  rm -rf "$demo"; mkdir -p "$demo"
  for n in "notes.txt" "clip0045.tga" "Report 2026.doc"; do
    printf 'sample\n' >"$demo/$n"
  done
  convert -size 640x480 gradient:'#3060c0'-'#f0d040' "$demo/Holiday photo.jpg" 2>/dev/null || printf 'x' >"$demo/Holiday photo.jpg"
  convert -size 480x640 plasma:fractal "$demo/holiday photo 2.JPG" 2>/dev/null || printf 'x' >"$demo/holiday photo 2.JPG"
  log "quorv preview on $demo (native)"
  "$BUILD/release/cli/quorv" preview --rule 'FILENAME PREFIX digit length:3' --rule 'FILENAME REPLACE " " with "_"' \
    --rule 'FILEEXT LOWERCASE all' --dir "$demo" || true

  # The program in a program folder of its own, with the demonstration
  # files handed over as the context menu would hand them.
  local folder=$BUILD/run
  rm -rf "$folder"; mkdir -p "$folder"
  cp "$BUILD/win/Quorv2.exe" "$folder/"
  for f in QuorvShell.dll quorv2.chm; do
    [ -f "$BUILD/win/$f" ] && cp "$BUILD/win/$f" "$folder/"
  done
  [ -d "$BUILD/win/favorite" ] && cp -r "$BUILD/win/favorite" "$folder/"
  local f; : >"$folder/Quorv2.qv2"
  for f in "$demo"/*; do
    printf 'Z:%s\r\n' "$(echo "$f" | tr / '\\')" >>"$folder/Quorv2.qv2"
  done
  local ownDisplay=${DISPLAY:-}
  start_wine
  log "starting Quorv2.exe from $folder"
  WINEDEBUG=-all wine "$folder/Quorv2.exe" >/dev/null 2>&1 </dev/null &
  local pid=$!
  sleep 6
  if import -window root "$BUILD/screenshot.png" 2>/dev/null; then log "screenshot saved to $BUILD/screenshot.png"; fi
  if [ -n "$ownDisplay" ]; then
    log "close the window to end"
    wait "$pid" || true
  fi
  stop_wine
}

case "${1:-build}" in
  build) build_all ;;
  native) install_packages; build_native ;;
  win) install_packages; fetch_deps; build_windows ;;
  ctest-native) shift; build_native; cd "$BUILD/native" && ctest --output-on-failure "$@" ;;
  ctest-win) shift; fetch_deps; build_windows; make_locale; start_wine
             trap stop_wine EXIT
             (cd "$BUILD/win" && ctest --output-on-failure --timeout 300 "$@") ;;
  fuzz) install_packages; build_fuzz; run_fuzzers ;;
  test)  build_all; run_tests ;;
  bench) install_packages; fetch_deps; build_release; build_windows; run_bench ;;
  bench-window) shift; fetch_deps; build_windows; start_wine; trap stop_wine EXIT
                "$ROOT/cmake/wine-run.sh" "$BUILD/win/tests/e2e/e2e_window_bench.exe" "$@" 2>&1 </dev/null |
                  tr -d '\r' | grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' \
                    -e 'apt-get install wine32' -e 'Read access denied for device' ;;
  run)   build_all; run_program ;;
  *) echo "usage: $0 [build|run|test|bench]" >&2; exit 2 ;;
esac
