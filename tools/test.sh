#!/usr/bin/env bash
# The README's test command: installs what is missing, builds, and runs every test under Wine.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TOOLS_DIR/setup.sh"
"$TOOLS_DIR/build.sh"
# One display and one wineserver for the whole suite: every Wine start then costs less.
"$TOOLS_DIR/with-display.sh" bash -c '
    set -e
    wineserver -p
    trap "wineserver -k 2>/dev/null || true" EXIT
    # Start the prefix'"'"'s background services now, with their output away from CTest'"'"'s pipes:
    # a service started by the first test would hold its output pipe open and stall CTest.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    cd "$BUILD_DIR"
    ctest --output-on-failure "$@"
' ctest "$@"
