#!/usr/bin/env bash
# Regenerates the program's artwork into the source tree (tools/make_artwork.py): the main
# window's pictures and animations, the icon and the font window's background photograph.
# Installs Debian's Pillow and the WenQuanYi Zen Hei font first when they are missing.
set -euo pipefail
TOOLS_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# Debian's own interpreter: python3-pil is installed for it, not for any other python3 on PATH.
PYTHON=/usr/bin/python3
FONT=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc

missing=()
[ -x "$PYTHON" ] || missing+=(python3)
"$PYTHON" -c 'import PIL' 2>/dev/null || missing+=(python3-pil)
[ -f "$FONT" ] || missing+=(fonts-wqy-zenhei)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get install -y --no-install-recommends "${missing[@]}" ||
        { $sudo apt-get update && $sudo apt-get install -y --no-install-recommends "${missing[@]}"; }
fi

exec "$PYTHON" "$TOOLS_DIR/make_artwork.py" "$@"
