#!/usr/bin/env bash
# Prints the size of the tests against the code: non-blank lines of tracked
# files, tests being tests/ and java/*/test/, code every other source, build
# and script file of ours (third_party/ is not ours).
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files | grep -v -E '^third_party/' |
  grep -E '(\.(c|cc|cpp|cxx|h|hpp|rc|def|in|java|nsi|nsh|sh|cmake|py|wxs|wxi)$|CMakeLists\.txt$|^\.ci/run$|^scripts/[^.]+$)')
count() { grep -E "$1" <<<"$files" | tr '\n' '\0' | xargs -0 cat | grep -c -v -E '^\s*$' || true; }
tests=$(count '(^|/)tests/|^java/[^/]+/test/')
code=$(grep -v -E '(^|/)tests/|^java/[^/]+/test/' <<<"$files" | tr '\n' '\0' | xargs -0 cat | grep -c -v -E '^\s*$')
awk -v t="$tests" -v c="$code" 'BEGIN { printf "test lines / code lines: %d / %d = %.3f\n", t, c, t / c }'
