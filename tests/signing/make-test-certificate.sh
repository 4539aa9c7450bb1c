#!/usr/bin/env bash
# make-test-certificate.sh OUTDIR: a throw-away CA (ca.pem) and a code-signing certificate it issued, as
# signer.p12 with its password in password.txt, for the tests' signed builds.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 3650 -subj "/CN=Convoca Test CA" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Convoca Test Signer" 2>/dev/null
printf 'extendedKeyUsage=codeSigning\nkeyUsage=critical,digitalSignature\n' > signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 3650 -extfile signer.ext \
  -out signer.pem 2>/dev/null
printf 'throw-away' > password.txt
openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -passout file:password.txt -out signer.p12
