#!/usr/bin/env bash
# Runs a Windows program under Wine, quiet, in the prefix named by WINEPREFIX (tests set it to one
# under their build folder). Headless unless WINE_DISPLAY names the X display for its windows
# (wine-window-run.sh sets it). Exit code and output are the program's.
set -euo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -n "${WINE_DISPLAY:-}" ]; then
  export DISPLAY="$WINE_DISPLAY"
else
  unset DISPLAY
fi
exec wine "$@"
