#!/usr/bin/env bash
# check-reproducible.sh [x64|x86]: builds the last commit twice, unsigned and without tests, in two temporary clones
# of different paths, one after the other, and compares what ships byte for byte: the package folder's files, the
# custom action DLL, the setup program and the MSI. Exits 1 and names the files and the differing byte count when
# any differ, and keeps the two builds for a look then. Takes two full builds (README: Reproducible builds).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-x64}
case $arch in
  x64) toolchain=toolchain-x86_64-mingw.cmake ;;
  x86) toolchain=toolchain-i686-mingw.cmake ;;
  *) echo "usage: check-reproducible.sh [x64|x86]" >&2; exit 2 ;;
esac
commit=$(git -C "$root" rev-parse HEAD)
tmp=$(mktemp -d /tmp/convoca-reproducible.XXXXXX)
for clone in first second-build; do
  git clone -q "$root" "$tmp/$clone"
  git -C "$tmp/$clone" checkout -q "$commit"
  # The Debian sources that scripts/setup.sh unpacks are not in the repository.
  for dir in pugixml wxwidgets expat; do
    ln -s "$(readlink -f "$root/third_party/$dir")" "$tmp/$clone/third_party/$dir"
  done
  cmake -S "$tmp/$clone" -B "$tmp/$clone/build/$arch" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$tmp/$clone/cmake/$toolchain" -DCONVOCA_BUILD_TESTS=OFF >/dev/null 2>&1
  cmake --build "$tmp/$clone/build/$arch" -j "${JOBS:-2}" >/dev/null
done
different=0
cd "$tmp/first/build/$arch"
for file in $(find package -type f ! -path 'package/CMakeFiles/*' ! -name '*.cmake' ! -name Makefile | sort) \
            installer/ConvocaCustomActions.dll ConvocaLauncherSetup-*.exe ConvocaLauncher-*.msi; do
  other=$tmp/second-build/build/$arch/$file
  if ! cmp -s "$file" "$other"; then
    echo "differs: $file ($(cmp -l "$file" "$other" 2>/dev/null | wc -l) bytes, sizes $(stat -c %s "$file" "$other" | tr '\n' ' '))"
    different=1
  fi
done
if [ $different -eq 1 ]; then
  echo "the two builds are in $tmp"
  exit 1
fi
rm -rf "$tmp"
echo "reproducible: every artefact of $arch is the same"
