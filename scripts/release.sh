#!/usr/bin/env bash
# release.sh URL_PREFIX [FOLDER]: one release of both architectures in FOLDER (default build/release/out):
#   ConvocaLauncherSetup-<version>-<arch>.exe and ConvocaLauncher-<version>-<arch>.msi, for x86 and x64;
#   signatures/<arch>/<file>.sig, each signed file's detached Authenticode signature (README: Checking a release);
#   appcast-item.xml, the appcast's item: the per-user setup programs under URL_PREFIX;
#   SHA256SUMS, of all of these.
# Builds in build/release/<arch>, without tests. The environment gives:
#   CONVOCA_UPDATE_KEY     the EdDSA private key (scripts/update-key.sh); required
#   CONVOCA_SIGNING_CERT   the PKCS#12 file for Authenticode; without it the release is unsigned
#   CONVOCA_SIGNING_PASSWORD_FILE, or CONVOCA_SIGNING_PASSWORD; CONVOCA_TIMESTAMP_URL (README: Authenticode signatures)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: release.sh URL_PREFIX [FOLDER]" >&2; exit 2; }
prefix=$1 out=${2:-$root/build/release/out}
key=${CONVOCA_UPDATE_KEY:-}
[ -f "$key" ] || { echo "release: CONVOCA_UPDATE_KEY must name the update key (scripts/update-key.sh new)" >&2; exit 2; }
public=$(bash "$root/scripts/update-key.sh" public "$key")
# One time for both architectures, whatever is committed meanwhile.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
export SOURCE_DATE_EPOCH
rm -rf "$out"
mkdir -p "$out"
for arch in x64 x86; do
  if [ $arch = x64 ]; then toolchain=toolchain-x86_64-mingw.cmake; else toolchain=toolchain-i686-mingw.cmake; fi
  build=$root/build/release/$arch
  # Signed in this order by the build: the programs and DLLs, the uninstaller, then the setup program and the MSI.
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
    -DCONVOCA_BUILD_TESTS=OFF -DCONVOCA_UPDATE_PUBLIC_KEY="$public" \
    -DCONVOCA_SIGNING_CERT="${CONVOCA_SIGNING_CERT:-}" -DCONVOCA_SIGNING_PASSWORD_FILE="${CONVOCA_SIGNING_PASSWORD_FILE:-}" \
    -DCONVOCA_TIMESTAMP_URL="${CONVOCA_TIMESTAMP_URL:-}" -DCONVOCA_SIGNATURES_IN= >/dev/null
  rm -rf "$build/signatures"
  cmake --build "$build" -j "${JOBS:-2}" -- --no-print-directory | { grep -v -E '^\[ *[0-9]+%\]' || true; }
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  cp "$build/ConvocaLauncherSetup-$version.exe" "$out/ConvocaLauncherSetup-$version-$arch.exe"
  cp "$build/ConvocaLauncher-$version-$arch.msi" "$out/"
  if [ -d "$build/signatures" ]; then
    mkdir -p "$out/signatures/$arch"
    cp "$build/signatures/"*.sig "$out/signatures/$arch/"
  fi
done
# Then the appcast's EdDSA signatures, of the signed setup programs, and last the checksums of everything.
bash "$root/scripts/appcast-item.sh" "$prefix" "$version" "$key" "$out/ConvocaLauncherSetup-$version-x86.exe" \
  "$out/ConvocaLauncherSetup-$version-x64.exe" > "$out/appcast-item.xml"
(cd "$out" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort | xargs sha256sum > SHA256SUMS)
echo "release: $out"
