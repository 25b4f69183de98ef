#!/usr/bin/env bash
# Builds and runs the imaging demo under Wine: one 640 × 480 canvas with a picture and a text with
# glow and shadow, written as BMP, JPEG, GIF, TIFF and PNG into a folder (the first argument, or
# $BUILD_DIR/imaging-demo), then checks each file's format and size with ImageMagick's identify.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TOOLS_DIR/setup.sh"
"$TOOLS_DIR/build.sh"

out="$(realpath -m "${1:-$BUILD_DIR/imaging-demo}")"
rm -rf "$out"
mkdir -p "$out"
exe="$BUILD_DIR/tools/imaging_demo.exe"
"$TOOLS_DIR/with-display.sh" bash -c \
    'wine "$0" "$(winepath -w "$1")"; rc=$?; wineserver -w; exit $rc' "$exe" "$out"

failed=0
check() {
    local file="$out/$1" want="$2" got
    if [ ! -f "$file" ]; then
        echo "imaging-demo: $1 is missing"
        failed=1
        return
    fi
    got="$(identify -format '%m %w %h' "$file[0]" 2>/dev/null || true)"
    # ImageMagick names a BMP with the classic header BMP3.
    if [ "$got" = "$want 640 480" ] || { [ "$want" = BMP ] && [ "$got" = "BMP3 640 480" ]; }; then
        echo "imaging-demo: $1 is $got"
    else
        echo "imaging-demo: $1 is '$got', expected '$want 640 480'"
        failed=1
    fi
}
check demo.bmp BMP
check demo.jpg JPEG
check demo.gif GIF
check demo.tiff TIFF
check demo.png PNG
exit $failed
