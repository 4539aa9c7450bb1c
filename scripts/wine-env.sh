# Sourced by the other scripts: the Wine environment of one build folder.
# Needs: build (the build folder, absolute).
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# Starts Xvfb (unless a display is already there) and a persistent wineserver
# of the prefix WINEPREFIX; called once for each prefix, stopped together.
WINE_SESSION_PREFIXES=()
wine_session_start() {
  WINE_SESSION_PREFIXES+=("$WINEPREFIX")
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    local n=$(( 90 + RANDOM % 400 ))
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
  fi
  # Without a window manager, Wine waits for one before a message box returns;
  # unmanaged windows make each box cost milliseconds instead of seconds.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    "$WINESERVER" -w
  fi
  "$WINESERVER" -p >/dev/null 2>&1 &
  # Make sure the server is up before the first client comes.
  "$WINE64" cmd /c exit >/dev/null 2>&1 || true
}

wine_session_stop() {
  local prefix
  for prefix in "${WINE_SESSION_PREFIXES[@]}"; do
    WINEPREFIX=$prefix "$WINESERVER" -k >/dev/null 2>&1 || true
    WINEPREFIX=$prefix "$WINESERVER" -w >/dev/null 2>&1 || true
  done
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
}
