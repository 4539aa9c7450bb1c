#!/usr/bin/env bash
# make-test-key.sh OUTDIR INSTALLER: the tests' key.pem (once), key.rc and installer.sig, made as a maker makes them.
set -euo pipefail
keys=$(dirname "$0")/../../scripts/update-key.sh out=$1
[ -f "$out/key.pem" ] || bash "$keys" new "$out/key.pem" >/dev/null
printf 'EdDSAPub EDDSA { "%s" }\n' "$(bash "$keys" public "$out/key.pem")" > "$out/key.rc"
bash "$keys" sign "$out/key.pem" "$2" | tr -d '\n' > "$out/installer.sig"
