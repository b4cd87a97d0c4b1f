#!/usr/bin/env bash
# Runs a Windows program under Wine, headless and quiet, in the prefix named by WINEPREFIX
# (tests set it to one under their build folder). Exit code and output are the program's.
set -euo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY
exec wine "$@"
