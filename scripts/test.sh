#!/usr/bin/env bash
# The test command: set-up, both builds, then every test under Wine inside Xvfb.
# Extra arguments go to ctest (for example -R logging).
set -euo pipefail
. "$(dirname "$0")/prepare.sh" all
trap wine_session_stop EXIT
wine_session_start
cd "$build"
ctest --output-on-failure --timeout 1500 "$@"
