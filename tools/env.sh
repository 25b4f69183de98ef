# Sourced by the other tools: the Wine environment the program and its tests run in.
# A Chinese locale gives Wine the ANSI code page 936 (GBK), which the program's texts use.
TOOLS_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
PROJECT_DIR="$(cd "$TOOLS_DIR/.." && pwd)"
export PROJECT_DIR TOOLS_DIR
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-tuconv}"
export WINEARCH=win64
export LANG=zh_CN.UTF-8
unset LC_ALL
export LC_MESSAGES=C
# No browser-engine installer prompt, no desktop menu entries, no debug chatter.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mshtml=;winemenubuilder.exe=d}"
export WINEDEBUG="${WINEDEBUG:--all}"
export BUILD_DIR="${BUILD_DIR:-$PROJECT_DIR/build}"
