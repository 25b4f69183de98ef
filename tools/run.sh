#!/usr/bin/env bash
# The README's start command: installs what is missing, builds, and starts the program under Wine
# (inside a private Xvfb when there is no display). Returns when the program ends.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TOOLS_DIR/setup.sh"
"$TOOLS_DIR/build.sh"
exe="$BUILD_DIR/bin/图象转换.exe"
"$TOOLS_DIR/with-display.sh" bash -c 'wine "$0"; rc=$?; wineserver -w; exit $rc' "$exe"
