#!/usr/bin/env bash
# The test command: set-up, both builds, the style checks and the size of the
# tests, then every test under Wine inside Xvfb.
# Extra arguments go to ctest (for example -R logging).
set -euo pipefail
. "$(dirname "$0")/prepare.sh" all
bash "$root/scripts/check-style.sh"
bash "$root/scripts/test-ratio.sh"
trap wine_session_stop EXIT
wine_session_start
cd "$build"
ctest --output-on-failure --timeout 1500 "$@"
