#!/usr/bin/env bash
# The key that signs the launcher's updates, with Debian's openssl (README: Signing an update).
#   update-key.sh new KEY.pem         makes the private key (keep it secret) and prints the public key
#   update-key.sh public KEY.pem      prints the public key, for CONVOCA_UPDATE_PUBLIC_KEY
#   update-key.sh sign KEY.pem FILE   prints FILE's signature, for the appcast's sparkle:edSignature
set -euo pipefail
command=${1:-} key=${2:-}
case "$command" in
new)
  [ ! -e "$key" ] || { echo "update-key: $key exists already" >&2; exit 1; }
  (umask 077 && openssl genpkey -algorithm ed25519 -out "$key")
  bash "$0" public "$key" ;;
public)
  openssl pkey -in "$key" -pubout -outform DER | tail -c 32 | base64 -w0; echo ;;
sign)
  [ -f "${3:-}" ] || { echo "update-key: no file ${3:-} to sign" >&2; exit 2; }
  openssl pkeyutl -sign -rawin -inkey "$key" -in "$3" | base64 -w0; echo ;;
*)
  echo "usage: update-key.sh new|public KEY.pem, or update-key.sh sign KEY.pem FILE" >&2; exit 2 ;;
esac
