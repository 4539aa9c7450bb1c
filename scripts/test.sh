#!/usr/bin/env bash
# The test command: set-up, both builds, then every test under Wine inside Xvfb.
# Extra arguments go to ctest (for example -R logging).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" all
build=$root/build/x64
. "$root/scripts/wine-env.sh"
trap wine_session_stop EXIT
wine_session_start
cd "$build"
ctest --output-on-failure --timeout 1500 "$@"
