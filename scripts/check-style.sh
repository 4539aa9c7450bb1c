#!/usr/bin/env bash
# House-style checks that CI runs before the build: the layout of every C and
# C++ source (.clang-format), no handle closed outside the owner header, and
# no include against the layer table (check-layers.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.c' '*.cpp' '*.h' | grep -v '^third_party/' | xargs clang-format --dry-run --Werror
raw=$(git grep -n -E '\b(CloseHandle|RegCloseKey|FindClose|LocalFree|FreeLibrary|ReleaseActCtx|DeleteObject|DestroyWindow)\s*\(' -- '*.c' '*.cpp' '*.h' \
      ':!src/handles/Handles.h' ':!third_party' || true)
if [ -n "$raw" ]; then
  printf 'Handles are closed only by the owners in src/handles/Handles.h:\n%s\n' "$raw" >&2
  exit 1
fi
bash scripts/check-layers.sh
