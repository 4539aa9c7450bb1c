#!/usr/bin/env bash
# Builds and runs the benchmark programs under Wine; each prints its figures
# as ratios to a yardstick measured in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" x64
build=$root/build/x64
. "$root/scripts/wine-env.sh"
trap wine_session_stop EXIT
wine_session_start
for b in "$build"/bench/*_bench.exe; do
  echo "== $(basename "$b")"
  "$WINE64" "$b"
done
