#!/usr/bin/env bash
# verify-signatures.sh CA FILE...: each FILE's Authenticode signature verifies against CA, and the first FILE with one
# byte changed halfway through does not.
set -euo pipefail
ca=$1
shift
failed=0
for file in "$@"; do
  osslsigncode verify -CAfile "$ca" -in "$file" >/dev/null || { echo "not verified: $file"; failed=1; }
done
changed=$(mktemp)
trap 'rm -f "$changed"' EXIT
cp "$1" "$changed"
offset=$(($(stat -c %s "$1") / 2))
byte=$(od -An -tu1 -j "$offset" -N 1 "$1" | tr -d ' ')
printf "\\$(printf '%03o' $((byte ^ 1)))" | dd of="$changed" bs=1 seek="$offset" conv=notrunc status=none
if osslsigncode verify -CAfile "$ca" -in "$changed" >/dev/null 2>&1; then
  echo "verified with a changed byte: $1"
  failed=1
fi
exit $failed
