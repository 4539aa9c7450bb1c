#!/usr/bin/env bash
# Configures and builds the launcher: x64 (default), x86 or all.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}
build_one() {
  local arch=$1 tc=$2
  # The x64 build's CTest runs the x86 build's tests too, where that build has them.
  cmake -S "$root" -B "$root/build/$arch" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$tc" -DCONVOCA_X86_BUILD_DIR="$root/build/x86" >/dev/null
  # pipefail makes a failed compile or link fail the script; grep finding
  # nothing to print is not a failure.
  cmake --build "$root/build/$arch" -j "$jobs" -- --no-print-directory |
    { grep -v -E '^\[ *[0-9]+%\]' || true; }
}
case "${1:-x64}" in
  x64) build_one x64 toolchain-x86_64-mingw.cmake ;;
  x86) build_one x86 toolchain-i686-mingw.cmake ;;
  all) build_one x64 toolchain-x86_64-mingw.cmake
       build_one x86 toolchain-i686-mingw.cmake ;;
  *) echo "usage: $0 [x64|x86|all]" >&2; exit 2 ;;
esac
