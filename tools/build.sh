#!/usr/bin/env bash
# Configures (once) and builds the program and its tests into build/ (or $BUILD_DIR).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$PROJECT_DIR" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$PROJECT_DIR/cmake/mingw-w64-x86_64.cmake" "$@"
fi
cmake --build "$BUILD_DIR" -j"$(nproc)"
