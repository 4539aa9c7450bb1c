#!/usr/bin/env bash
# appcast-item.sh URL_PREFIX VERSION KEY.pem X86_SETUP X64_SETUP: prints the appcast's <item> for a release, one
# enclosure per architecture, each the per-user setup program of that architecture under URL_PREFIX, with its length
# and its EdDSA signature made with KEY.pem (scripts/update-key.sh).
set -euo pipefail
[ $# -eq 5 ] || { echo "usage: appcast-item.sh URL_PREFIX VERSION KEY.pem X86_SETUP X64_SETUP" >&2; exit 2; }
prefix=${1%/} version=$2 key=$3
xml() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' <<<"$1"; }
printf '<item>\n  <title>%s</title>\n' "$(xml "$version")"
for arch in x86 x64; do
  if [ $arch = x86 ]; then setup=$4; else setup=$5; fi
  printf '  <enclosure url="%s" sparkle:version="%s" sparkle:os="windows-%s" length="%s"\n' \
    "$(xml "$prefix/$(basename "$setup")")" "$(xml "$version")" $arch "$(stat -c %s "$setup")"
  printf '             type="application/octet-stream" sparkle:edSignature="%s"/>\n' \
    "$(bash "$(dirname "$0")/update-key.sh" sign "$key" "$setup")"
done
printf '</item>\n'
