#!/usr/bin/env bash
# Configures and builds the launcher: x64 (default), x86 or all.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}
build_one() {
  local arch=$1 tc=$2 tests=$3
  cmake -S "$root" -B "$root/build/$arch" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$tc" -DCONVOCA_BUILD_TESTS="$tests" >/dev/null
  # pipefail makes a failed compile or link fail the script; grep finding
  # nothing to print is not a failure.
  cmake --build "$root/build/$arch" -j "$jobs" -- --no-print-directory |
    { grep -v -E '^\[ *[0-9]+%\]' || true; }
}
case "${1:-x64}" in
  x64) build_one x64 toolchain-x86_64-mingw.cmake ON ;;
  x86) build_one x86 toolchain-i686-mingw.cmake OFF ;;
  all) build_one x64 toolchain-x86_64-mingw.cmake ON
       build_one x86 toolchain-i686-mingw.cmake OFF ;;
  *) echo "usage: $0 [x64|x86|all]" >&2; exit 2 ;;
esac
