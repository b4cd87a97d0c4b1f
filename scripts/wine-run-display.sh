#!/usr/bin/env bash
# Runs a Windows program under Wine with windows of its own: on a private X server (Xvfb on a
# free display, gone when the program ends), in the prefix named by WINEPREFIX. Exit code and
# output are the program's.
set -euo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec xvfb-run -a -s "-screen 0 2048x1536x24" wine "$@"
