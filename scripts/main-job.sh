#!/usr/bin/env bash
# The main job: set-up, build, then open the sample session file with the
# launcher under Wine, as a browser would, with the stand-in Java runtime.
# Shows what the stand-in javaw.exe received and the launcher's log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" x64
build=$root/build/x64
. "$root/scripts/wine-env.sh"
trap wine_session_stop EXIT
wine_session_start

# Lay the package out where a per-user install puts it.
local_appdata=$("$WINE64" cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
install_win="$local_appdata\\Programs\\Tavisto Convoca Launcher"
install_unix=$("$WINE64" winepath -u "$install_win" 2>/dev/null | tr -d '\r')
rm -rf "$install_unix"
mkdir -p "$install_unix"
cp -r "$build/package/." "$install_unix/"
record="$install_unix/../../Tavisto/Tavisto Convoca Launcher/embedded/Java/jre1.7.0_40/bin/javaw.record.txt"
rm -f "$record"

session_win=$("$WINE64" winepath -w "$root/samples/session.vca" 2>/dev/null | tr -d '\r')
echo "== Opening $session_win with $install_win\\ConvocaLauncher.exe"
set +e
"$WINE64" "$install_win\\ConvocaLauncher.exe" "$session_win"
status=$?
set -e
echo "== Launcher exit status: $status"
echo "== What the stand-in javaw.exe received:"
cat "$record" 2>/dev/null || echo "(nothing: Java was not started)"
echo "== The launcher's log of this run:"
log="$install_unix/../../Tavisto/Tavisto Convoca Launcher/logs/ConvocaLauncher.log"
python3 - "$log" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
print(data[data.rfind(b'\xef\xbb\xbf') + 3:].decode('utf-8', 'replace').replace('\r\n', '\n'), end='')
PY
exit "$status"
