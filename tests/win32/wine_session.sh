#!/usr/bin/env bash
# One Wine session inside the virtual display (run_under_wine.sh starts it):
# prepares the prefix, then runs the program and exits with its status.
#
# Usage: wine_session.sh PROGRAM [ARGS...]
set -u

# With the 64-bit loader the prefix is a 64-bit one whose services run
# natively; only the 32-bit program then goes through qemu, which saves
# minutes a run. Without it everything runs through the 32-bit loader.
setup_wine=wine
for loader in /usr/lib/wine/wine64 "$(command -v wine64 2>/dev/null)"; do
  if [ -n "$loader" ] && [ -x "$loader" ]; then
    setup_wine=$loader
    break
  fi
done
if [ ! -d "${WINEPREFIX:-$HOME/.wine}" ]; then
  "$setup_wine" wineboot -i >/dev/null 2>&1 || true
fi
# Without a window manager in the virtual display, Wine draws frames and
# captions itself only when it is told not to leave them to one; pictures
# of the dialogs then show what the pilot sees.
"$setup_wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true

wine "$@"
