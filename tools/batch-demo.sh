#!/usr/bin/env bash
# A batch run as a user makes it, in the built program under Wine (inside a private Xvfb when
# there is no display): the program starts from a folder of its own whose settings file asks for
# PNG, a width of 320 and the text watermark; a few generated pictures are listed through the add
# button's open-file dialog; the start button converts them; the end-of-run message is answered;
# the close button ends the program. Then every written picture is checked: PNG, 320 wide, and
# marked in its bottom-right corner only. The window is captured while the end-of-run message is
# open (docs/screenshots/batch-run.png, or $SCREENSHOT_FILE).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TOOLS_DIR/setup.sh"
"$TOOLS_DIR/build.sh" >/dev/null
shot="${SCREENSHOT_FILE:-$PROJECT_DIR/docs/screenshots/batch-run.png}"
mkdir -p "$(dirname "$shot")"

# The program in a folder of its own, in the prefix's drive C, with its settings file (GBK).
demo="$WINEPREFIX/drive_c/tuconv-demo"
pictures="$WINEPREFIX/drive_c/photos"
output="$WINEPREFIX/drive_c/converted"
rm -rf "$demo" "$pictures" "$output"
mkdir -p "$demo"
cp "$BUILD_DIR/bin/图象转换.exe" "$demo/"
printf '%s\r\n' '[转换设置]' '保存目录=C:\converted\' '转换格式=真' '新格式=PNG' \
    '改变尺寸=真' '按尺寸=真' '按百分比=假' '指定宽度=真' '指定高度=假' '宽度=320' \
    '文字水印=真' '文字内容=榆雀网络' '水印位置=右下' '水印透明=100' |
    iconv -f UTF-8 -t GBK >"$demo/图象转换.Bin"
/usr/bin/python3 "$TOOLS_DIR/make_screenshot_pictures.py" "$pictures"

"$TOOLS_DIR/with-display.sh" bash -c '
    set -euo pipefail
    exe="$1"; shot="$2"
    cd "$(dirname "$exe")"
    wine "$exe" >/dev/null 2>&1 &
    wine_pid=$!
    trap "wineserver -k 2>/dev/null || true" EXIT

    wait_for() {  # title seconds -> the visible window of that title
        local found="" deadline=$((SECONDS + $2))
        while [ $SECONDS -lt $deadline ]; do
            found="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)"
            [ -n "$found" ] && { echo "$found"; return 0; }
            kill -0 "$wine_pid" 2>/dev/null || { echo "batch-demo: the program ended" >&2; return 1; }
            sleep 0.2
        done
        echo "batch-demo: no window \"$1\" within $2 seconds" >&2
        return 1
    }

    window="$(wait_for 榆雀图片批量转换器 60)"
    deadline=$((SECONDS + 20))
    while [ $SECONDS -lt $deadline ]; do
        [ "$(xdotool getwindowgeometry "$window" | sed -n "s/.*Geometry: //p")" = 750x560 ] && break
        sleep 0.2
    done

    # The add button at (8, 410), 127 x 36: the folder typed into the file name box, then every
    # file of it selected and opened.
    xdotool mousemove --window "$window" 71 428 click 1
    wait_for 选择要转换的图片 20 >/dev/null
    source "$TOOLS_DIR/desktop-steps.sh"
    pick_every_file_in_open_dialog "C:\\photos\\"

    # The start button at (648, 462), 75 x 75; the run ends with the message titled 提示.
    xdotool mousemove --window "$window" 685 499 click 1
    message="$(wait_for 提示 120)"
    sleep 0.5
    # From the screen, so that the message box over the window shows too.
    position="$(xdotool getwindowgeometry "$window" | sed -n "s/.*Position: \([0-9]*\),\([0-9]*\).*/+\1+\2/p")"
    import -window root -crop "750x560$position" +repage "$shot"
    echo "batch-demo: window captured into $shot"
    xdotool key --window "$message" Return
    deadline=$((SECONDS + 20))
    while [ $SECONDS -lt $deadline ] && xdotool search --onlyvisible --name "^提示\$" >/dev/null 2>&1; do
        sleep 0.2
    done

    # The close button at (713, 4), 27 x 19.
    xdotool mousemove --window "$window" 726 13 click 1
    deadline=$((SECONDS + 20))
    while kill -0 "$wine_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
    if kill -0 "$wine_pid" 2>/dev/null; then
        echo "batch-demo: the program did not end after its close button" >&2
        exit 1
    fi
    wait "$wine_pid" || true
' batch-demo "$demo/图象转换.exe" "$shot"

# Every listed picture was written as a 320-wide PNG, marked only near its bottom-right corner:
# compared with the source scaled by ImageMagick, the pixels differ much more there.
status=0
count=0
for source in "$pictures"/*; do
    name="$(basename "${source%.*}").png"
    written="$output/$name"
    if [ ! -f "$written" ]; then
        echo "missing: $name"
        status=1
        continue
    fi
    count=$((count + 1))
    read -r format width height < <(identify -format '%m %w %h\n' "$written" | head -n1)
    reference="$(mktemp --suffix=.png)"
    convert "$source[0]" -resize "${width}x${height}!" "$reference"
    corner=$(compare -metric AE -fuzz 15% "$written[100x30+$((width - 100))+$((height - 30))]" \
        "$reference[100x30+$((width - 100))+$((height - 30))]" null: 2>&1 || true)
    rest=$(compare -metric AE -fuzz 15% "$written[$((width / 2))x$((height / 2))+0+0]" \
        "$reference[$((width / 2))x$((height / 2))+0+0]" null: 2>&1 || true)
    rm -f "$reference"
    verdict=ok
    [ "$format" = PNG ] && [ "$width" = 320 ] && [ "${corner%.*}" -gt 100 ] &&
        [ "${rest%.*}" -lt 20 ] || { verdict=WRONG; status=1; }
    echo "$name: $format ${width}x$height, watermark pixels $corner in the corner, $rest elsewhere: $verdict"
done
echo "batch-demo: $count pictures written into $output"
[ "$count" -gt 0 ] || status=1
exit $status
