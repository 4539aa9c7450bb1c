#!/usr/bin/env bash
# The tests' own key pair, made as a maker makes one: make-test-key.sh OUTDIR INSTALLER writes OUTDIR/key.pem (once),
# OUTDIR/key.rc (the public key as the launcher's resource) and OUTDIR/installer.sig (INSTALLER's signature).
set -euo pipefail
keys=$(dirname "$0")/../../scripts/update-key.sh out=$1
[ -f "$out/key.pem" ] || bash "$keys" new "$out/key.pem" >/dev/null
printf 'EdDSAPub EDDSA { "%s" }\n' "$(bash "$keys" public "$out/key.pem")" > "$out/key.rc"
bash "$keys" sign "$out/key.pem" "$2" | tr -d '\n' > "$out/installer.sig"
