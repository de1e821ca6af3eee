#!/usr/bin/env bash
# Runs a Windows program under Wine on a display of another scale:
#
#     scripts/wine-dpi.sh DPI PROGRAM [ARGUMENTS...]
#
# in a fresh Wine prefix and X screen of its own (made and removed by wine-env.sh) whose display is
# set to DPI dots per inch (144 = 150 %, 192 = 200 %). The program finds the DPI it was asked for
# in QLP_TEST_DPI.
set -euo pipefail
dpi=$1
shift
unset WINEPREFIX QLP_WINEPREFIX
# A screen of its own, as many pixels larger as the scale, so the window has room at its scaled size.
unset DISPLAY
export QLP_XVFB_SCREEN="$((1600 * dpi / 96))x$((1000 * dpi / 96))x24"
# shellcheck source=wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" ""
# This Wine reads the display's DPI from the user's desktop settings when its server starts.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -k
wineserver -w
wineserver -p
QLP_TEST_DPI=$dpi wine "$@"
