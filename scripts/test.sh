#!/usr/bin/env bash
# The test command: set-up, both builds, the style checks and the size of the
# tests, then every test under Wine inside Xvfb: one CTest run, the x64
# build's, with the x86 build's tests (named ..._x86) beside its own, two at a
# time, each architecture in a Wine prefix of its own.
# Extra arguments go to ctest (for example -R logging).
set -euo pipefail
. "$(dirname "$0")/prepare.sh" all
bash "$root/scripts/check-style.sh"
bash "$root/scripts/test-ratio.sh"
trap wine_session_stop EXIT
for arch in x64 x86; do
  WINEPREFIX=$root/build/$arch/wineprefix wine_session_start
done
cd "$build"
ctest --output-on-failure --timeout 1500 -j 2 "$@"
