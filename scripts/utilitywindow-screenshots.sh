#!/usr/bin/env bash
# Renders each tab of the utility window (utilwin.jar), filled with sample
# settings, to PNG files so that a person can look at them:
#   general.png, network.png, cache.png, support.png (the "Save diagnostics"
#   button), network-admin.png (the network tab of a per-machine installation,
#   read-only) and network-test.png (the network tab with the result of a
#   connection test against a listener on 127.0.0.1).
# Usage: scripts/utilitywindow-screenshots.sh [folder]   (default build/x64/screenshots)
# Builds the jar and the tool if needed; starts Xvfb when no display is available.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/x64
out=${1:-$build/screenshots}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-mingw.cmake" >/dev/null
fi
cmake --build "$build" --target utilitywindow_tools -j2 >/dev/null

xvfb_pid=
stop_xvfb() { if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi; }
trap stop_xvfb EXIT
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  n=$(( 90 + RANDOM % 400 ))
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
java -classpath "$build/package/utilwin.jar:$build/java/utilitywindow/tools" com.tavisto.launcher.utility.ui.Screenshots "$out"
