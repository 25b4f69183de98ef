#!/usr/bin/env bash
# Creates the Wine prefix once: a 64-bit prefix, no browser-engine or .NET installer prompts,
# and font replacements for 宋体 and SimSun onto the installed WenQuanYi Zen Hei.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

stamp="$WINEPREFIX/.tuconv-ready"
version="5"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version" ]; then
    exit 0
fi

echo "setup: preparing the Wine prefix $WINEPREFIX"
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
"$TOOLS_DIR/with-display.sh" bash -c 'wineboot -i >/dev/null 2>&1; wineserver -w'

tool_dir="$WINEPREFIX/drive_c/tuconv-tools"
mkdir -p "$tool_dir"
x86_64-w64-mingw32-gcc-posix -municode -O1 -o "$tool_dir/set_font_replacements.exe" \
    "$TOOLS_DIR/winefonts/set_font_replacements.c"
"$TOOLS_DIR/with-display.sh" bash -c "wine '$tool_dir/set_font_replacements.exe' 'WenQuanYi Zen Hei'; rc=\$?; wineserver -w; exit \$rc"

# Xvfb runs no window manager. A window Wine leaves to the window manager waits two seconds for
# an answer each time it is hidden or destroyed after being activated; Wine manages them itself.
"$TOOLS_DIR/with-display.sh" bash -c "wine reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /d N /f >/dev/null 2>&1; rc=\$?; wineserver -w; exit \$rc"

# A crashing program ends at once with a backtrace instead of showing a crash dialog and waiting.
"$TOOLS_DIR/with-display.sh" bash -c 'wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1; wineserver -w'

echo "$version" > "$stamp"
