#!/usr/bin/env bash
# make-test-key.sh OUTDIR: the tests' key.pem (once) and key.rc, made as a maker makes them.
set -euo pipefail
keys=$(dirname "$0")/../../scripts/update-key.sh out=$1
[ -f "$out/key.pem" ] || bash "$keys" new "$out/key.pem" >/dev/null
printf 'EdDSAPub EDDSA { "%s" }\n' "$(bash "$keys" public "$out/key.pem")" > "$out/key.rc"
