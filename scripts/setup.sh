#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Run as root. Safe to run again: it only does what is still missing.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
third=$here/third_party

packages=(cmake dpkg-dev g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          wine64 xvfb nsis wixl msitools openjdk-17-jdk-headless openjdk-17-jre junit4 x11-utils imagemagick
          clang-format openssl osslsigncode faketime patch)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# deb-src for bookworm main, derived from the machine's own Debian source list.
srclist=/etc/apt/sources.list.d/convoca-deb-src.sources
need_update=0
if [ ! -f "$srclist" ]; then
  uri=$(grep -h -m1 -E '^URIs:' /etc/apt/sources.list.d/debian.sources 2>/dev/null | awk '{print $2}')
  if [ -z "$uri" ]; then
    uri=$(grep -h -m1 -E '^deb ' /etc/apt/sources.list 2>/dev/null | awk '{print $2}')
  fi
  [ -n "$uri" ] || { echo "setup: cannot find the Debian archive in the apt sources" >&2; exit 1; }
  printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' "$uri" > "$srclist"
  need_update=1
fi

# Wine's 32-bit half, so that the x86 build's programs run (WoW64) in the
# same 64-bit prefix.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' || missing+=(wine32:i386)

if [ ${#missing[@]} -gt 0 ] || [ ! -d "$third"/pugixml ] || [ ! -f "$third"/wxwidgets/.debian-version ] ||
   [ ! -f "$third"/expat/.debian-version ]; then
  need_update=1
fi
if [ $need_update -eq 1 ]; then
  apt-get update -qq >/dev/null
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Debian source packages, compiled by our CMake with the cross compiler.
# fetch_source PACKAGE UPSTREAM REVISION FOLDER: the upstream version is
# pinned; REVISION is the Debian revision this build was made with, and a
# newer revision of the same upstream version (a security fix) is accepted.
fetch_source() {
  local pkg=$1 upstream=$2 revision=$3 dir=$third/$4
  if [ -f "$dir"/.debian-version ] && [ "$(sed 's/-[^-]*$//' "$dir"/.debian-version)" = "$upstream" ]; then
    return 0
  fi
  mkdir -p "$third"
  local tmp; tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source -qq "$pkg" >/dev/null 2>&1) ||
    { echo "setup: apt-get source $pkg failed" >&2; rm -rf "$tmp"; exit 1; }
  local dsc; dsc=$(find "$tmp" -maxdepth 1 -name "${pkg}_*.dsc" | head -n1)
  local version; version=$(awk '/^Version:/ { print $2; exit }' "$dsc")
  if [ "${version%-*}" != "$upstream" ] || dpkg --compare-versions "$version" lt "$upstream-$revision"; then
    echo "setup: $pkg $version is not usable: this build needs upstream $upstream," \
         "Debian revision $revision or newer" >&2
    rm -rf "$tmp"; exit 1
  fi
  local src; src=$(find "$tmp" -maxdepth 1 -mindepth 1 -type d | head -n1)
  rm -rf "$dir"
  mv "$src" "$dir"
  echo "$version" > "$dir"/.debian-version
  rm -rf "$tmp"
  echo "setup: $pkg $version"
}

# pugixml: any version of the release's archive.
if [ ! -f "$third"/pugixml/src/pugixml.cpp ]; then
  mkdir -p "$third"
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source -qq pugixml >/dev/null 2>&1)
  src=$(find "$tmp" -maxdepth 1 -mindepth 1 -type d -name 'pugixml-*' | head -n1)
  [ -n "$src" ] || { echo "setup: apt-get source pugixml failed" >&2; exit 1; }
  rm -rf "$third"/pugixml
  mv "$src" "$third"/pugixml
  rm -rf "$tmp"
fi
# The update library's dependencies (third_party/winsparkle/README.source).
fetch_source wxwidgets3.2 3.2.2+dfsg 2 wxwidgets
fetch_source expat 2.5.0 1+deb12u2 expat
[ -f /usr/src/googletest/CMakeLists.txt ] || { echo "setup: googletest sources missing" >&2; exit 1; }
echo "setup: ready"
