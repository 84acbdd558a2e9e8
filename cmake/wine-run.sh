#!/usr/bin/env bash
# Runs a Windows program under wine, as ctest does for the cross-compiled tests:
#   wine-run.sh program.exe [arguments...]
#   wine-run.sh                 (only makes the prefix)
# The wine prefix is $WINEPREFIX, or a prefix of the project's own in the user's cache; a missing
# prefix is made first (once, also when several tests start together). Windows need a display: run
# under xvfb-run where there is none.
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/fnork-wine}"
export WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    # Windows that no window manager looks after: wine would otherwise wait two seconds for one
    # whenever a window closes.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    # Debian's wine does not look for the fonts of fonts-wine by itself: without them caption
    # buttons show as letters.
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    for f in /usr/share/wine/fonts/*.ttf; do
      [ -e "$f" ] && ln -sf "$f" "$fonts/"
    done
  fi
  exec 9>&-
fi
[ $# -eq 0 ] && exit 0
exec wine "$@"
