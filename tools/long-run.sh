#!/usr/bin/env bash
# The long run: converts 500 pictures in the real main window, then previews 200 of them, and
# prints the process's GDI and USER object counts and private bytes after 50, 250 and 500
# pictures and after 50, 100 and 200 previews, with the growth between the first and the last.
#
#   tools/long-run.sh [pictures (500)] [previews (200)]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TOOLS_DIR/setup.sh"
if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$PROJECT_DIR" -B "$BUILD_DIR" >/dev/null  # picks up a new bench target
fi
"$TOOLS_DIR/build.sh" >/dev/null
exe="$BUILD_DIR/bench/long_run.exe"
if [ ! -f "$exe" ]; then
    echo "long-run: $exe was not built (it needs the tests' build: TUCONV_BUILD_TESTS=ON)" >&2
    exit 1
fi
"$TOOLS_DIR/with-display.sh" bash -c 'wine "$0" "$@"; rc=$?; wineserver -w; exit $rc' "$exe" "$@"
