#!/usr/bin/env bash
# sign.sh CONF FILE NAME [KEEP]: gives FILE (a program, a DLL or a Windows Installer package) its Authenticode
# signature, SHA-256, in place, with Debian's osslsigncode, and keeps that signature detached as SIGNATURES/NAME.sig;
# KEEP, if given, gets a copy of the signed file. CONF (written by cmake/Signing.cmake) sets:
#   cert           the PKCS#12 file
#   password_file  the file holding its password; empty: the password is CONVOCA_SIGNING_PASSWORD's value, piped
#   timestamp      the timestamp server's URL, or empty
#   attach         a folder of published signatures (NAME.sig) to attach instead of signing, or empty
#   attach_ca      the CA file that an attached signature must verify against; empty: the system's
#   signatures     the folder for the detached signatures
#   description    the name shown for the signed program
# The password never appears on a command line.
set -euo pipefail
. "$1"
file=$2 name=$3 keep=${4:-}
partial=$file.signing
rm -f "$partial"
if [ -n "$attach" ]; then
  osslsigncode attach-signature -sigin "$attach/$name.sig" ${attach_ca:+-CAfile "$attach_ca"} -in "$file" \
    -out "$partial" >/dev/null
else
  args=(sign -pkcs12 "$cert" -h sha256 -n "$description" -in "$file" -out "$partial")
  [ -z "$timestamp" ] || args+=(-ts "$timestamp")
  if [ -n "$password_file" ]; then
    osslsigncode "${args[@]}" -readpass "$password_file" >/dev/null
  else
    printf '%s' "${CONVOCA_SIGNING_PASSWORD-}" | osslsigncode "${args[@]}" -readpass - >/dev/null
  fi
fi
mv -f "$partial" "$file"
mkdir -p "$signatures"
rm -f "$signatures/$name.sig"
osslsigncode extract-signature -in "$file" -out "$signatures/$name.sig" >/dev/null
[ -z "$keep" ] || cp -f "$file" "$keep"
