#!/usr/bin/env bash
# The main job: set-up, build, then install the launcher under Wine with its
# setup program, silently, and open the sample session file through the
# shell's file association, as a browser does, with the stand-in Java
# runtime. Shows what the stand-in javaw.exe received and the launcher's log.
set -euo pipefail
. "$(dirname "$0")/prepare.sh" x64
# A Wine prefix of its own, so that the tests' prefix keeps no installation.
export WINEPREFIX="$build/wineprefix-main"
trap wine_session_stop EXIT
wine_session_start

winpath() { "$WINE64" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
unixpath() { "$WINE64" winepath -u "$1" 2>/dev/null | tr -d '\r'; }

setup=$(ls "$build"/ConvocaLauncherSetup-*.exe)
# Wine's shell reads file associations from HKEY_LOCAL_MACHINE only, so the
# association of an installation for all users is the one it can follow
# (Wine's user is an administrator). Installing over an earlier run updates it.
echo "== Installing: $(basename "$setup") /S /ALLUSERS"
set +e
"$WINE64" "$(winpath "$setup")" /S /ALLUSERS
status=$?
set -e
if [ "$status" -ne 0 ]; then
  echo "== Setup failed with exit status $status" >&2
  exit "$status"
fi
program_files=$("$WINE64" cmd /c 'echo %ProgramW6432%' 2>/dev/null | tr -d '\r')
echo "== Installed in $program_files\\Tavisto Convoca Launcher; the .vca association:"
"$WINE64" reg query 'HKLM\Software\Classes\Tavisto.ConvocaSession\shell\open\command' /ve 2>/dev/null |
  tr -d '\r' | grep REG_SZ || true

local_appdata=$("$WINE64" cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
support=$(unixpath "$local_appdata\\Tavisto\\Tavisto Convoca Launcher")
record="$support/embedded/Java/jre1.7.0_40/bin/javaw.record.txt"
rm -f "$record"

echo "== Opening $(winpath "$root/samples/session.vca") through its association"
set +e
"$WINE64" start /wait /unix "$root/samples/session.vca"
status=$?
set -e
echo "== Launcher exit status: $status"
# The launcher does not wait for Java; give the stand-in a moment to record.
for _ in $(seq 100); do [ -s "$record" ] && break; sleep 0.1; done
echo "== What the stand-in javaw.exe received:"
cat "$record" 2>/dev/null || echo "(nothing: Java was not started)"
echo "== The launcher's log of this run:"
python3 - "$support/logs/ConvocaLauncher.log" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
print(data[data.rfind(b'\xef\xbb\xbf') + 3:].decode('utf-8', 'replace').replace('\r\n', '\n'), end='')
PY
exit "$status"
