#!/usr/bin/env bash
# Runs a Windows program under Wine with its windows on a private X server (Xvfb on a free
# display, 1600 x 1200), in the prefix named by WINEPREFIX. Wine's desktop process takes the
# display of the program that starts it and holds it: the prefix's earlier (headless) processes
# are waited for before, and its processes on the display before the server goes. Exit code and
# output are the program's.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
wineserver --wait
status=0
xvfb-run --auto-servernum --server-args="-screen 0 1600x1200x24 -nolisten tcp +extension XTEST" \
  bash -c 'WINE_DISPLAY="$DISPLAY" "$0" "$@"; status=$?; wineserver --wait; exit $status' \
  "$here/wine-run.sh" "$@" || status=$?
exit $status
