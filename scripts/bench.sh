#!/usr/bin/env bash
# Builds and runs the benchmark programs under Wine; each prints its figures
# as ratios to a yardstick measured in the same run.
set -euo pipefail
. "$(dirname "$0")/prepare.sh" x64
trap wine_session_stop EXIT
wine_session_start
for b in "$build"/bench/*_bench.exe; do
  echo "== $(basename "$b")"
  "$WINE64" "$b"
done
