#!/usr/bin/env bash
# Builds and runs the benchmark programs under Wine, for both architectures,
# each in its build's Wine prefix; each program prints its figures as ratios
# to a yardstick measured in the same run, and this script prints the two
# architectures' ratios side by side.
set -euo pipefail
. "$(dirname "$0")/prepare.sh" all
trap wine_session_stop EXIT
for arch in x64 x86; do
  WINEPREFIX=$root/build/$arch/wineprefix wine_session_start
done
# Each run's output, in the build folder.
out=$build/bench-output
mkdir -p "$out"
for b in "$build"/bench/*_bench.exe; do
  name=$(basename "$b")
  for arch in x64 x86; do
    WINEPREFIX=$root/build/$arch/wineprefix "$WINE64" "$root/build/$arch/bench/$name" | tr -d '\r' > "$out/$arch"
  done
  printf '== %-57s x86\n' "$name"
  # The two runs print the same lines, with their own figures: a line that
  # ends in a ratio gets the x86 one beside it; other lines with ratios or
  # medians are printed for both; the rest once, as the x64 run printed it.
  paste -d '\t' "$out/x64" "$out/x86" | awk -F'\t' '{
    if ($1 ~ /ratio [0-9.]+$/ && match($2, /ratio [0-9.]+$/)) printf "%-60s %s\n", $1, substr($2, RSTART, RLENGTH)
    else if ($1 ~ /ratio|median/ && $1 != $2) printf "x64 %s\nx86 %s\n", $1, $2
    else print $1
  }'
done
