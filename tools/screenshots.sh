#!/usr/bin/env bash
# Renders the README's pictures into docs/screenshots/ (or $SCREENSHOT_DIR) from the built
# program under Wine, inside a private Xvfb when there is no display, driving it as a user would
# with xdotool:
#   main-fresh.png           the main window as it starts, from a folder of its own whose
#                            settings file asks for PNG, a width of 640 and the text watermark;
#   main-listed.png          generated pictures listed through the add button's open-file dialog,
#                            the first row previewed;
#   main-running.png         during the batch run started by the start button, with the progress
#                            panel up (eight 4000 x 3000 photos keep the run busy);
#   main-after.png           the run's end: progress lines and the end message "全部处理完毕";
#   font-window.png          the font window "字体设置" opened from the font button;
#   watermark-positions.png  one photo before conversion and the program's output for each of
#                            the seven watermark positions with a picture watermark, labelled
#                            (tools/watermark_positions.cpp runs the real main window once per
#                            position).
# Then it checks what the runs wrote: every listed picture as a 640-wide PNG marked near its
# bottom-right corner only, and each position's watermark in its part of the picture. Ends with 1
# when a window did not appear or a check failed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
shots="${SCREENSHOT_DIR:-$PROJECT_DIR/docs/screenshots}"
demo="$WINEPREFIX/drive_c/tuconv-shots"
pictures="$WINEPREFIX/drive_c/photos"
output="$WINEPREFIX/drive_c/converted"
positions="$WINEPREFIX/drive_c/positions"
mark="$WINEPREFIX/drive_c/tuconv-mark.png"
exe="$BUILD_DIR/bin/图象转换.exe"
positions_tool="$BUILD_DIR/tools/watermark_positions.exe"
cjk_font=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc

# --- window helpers (inside the display) -----------------------------------------------------

# The shared polling steps (desktop_wait_for_window, desktop_wait_until_window_gone, ...) and the
# open-file dialog's steps. Their waits end early once the program ($DESKTOP_PROGRAM_PID) ends.
source "$TOOLS_DIR/desktop-steps.sh"

# Captures with `grab <file>` until two captures in a row agree on every given region (the whole
# picture when none is given): the window has finished painting. The animations and the caret
# keep changing elsewhere, so the regions leave them out.
settle_capture() {
    local grab="$1" out="$2"
    shift 2
    local regions=("$@") previous="$work/previous.png" current="$work/current.png"
    [ ${#regions[@]} -gt 0 ] || regions=("")
    $grab "$previous"
    local deadline=$((SECONDS + 20))
    while :; do
        sleep 0.3
        $grab "$current"
        local same=1 region difference
        for region in "${regions[@]}"; do
            difference="$(compare -metric AE "$previous${region:+[$region]}" \
                "$current${region:+[$region]}" null: 2>&1 || true)"
            [ "$difference" = 0 ] || { same=0; break; }
        done
        [ $same = 1 ] && break
        if [ $SECONDS -ge $deadline ]; then
            echo "screenshots: $(basename "$out") kept changing; taking the last capture" >&2
            break
        fi
        mv "$current" "$previous"
    done
    mv "$current" "$out"
    echo "screenshots: $out"
}

grab_main() { import -window "$window" "$1"; }
grab_font() { import -window "$font_window" "$1"; }
# From the screen, so that a message box over the main window shows too.
grab_main_from_screen() {
    local at
    at="$(xdotool getwindowgeometry "$window" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/+\1+\2/p')"
    import -window root -crop "750x560$at" +repage "$1"
}

# The progress panel 遮照框 covers the option band during a run; its animated bar at (18, 457)
# is dark teal where the band otherwise shows light controls.
panel_is_up() {
    local mean
    mean="$(convert "$1[240x12+22+460]" -colorspace Gray -format '%[fx:mean]' info:)"
    awk -v m="$mean" 'BEGIN { exit !(m < 0.8) }'
}

click_main() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

# --- the session: one program run, then the watermark positions -------------------------------

session() {
    work="$(mktemp -d)"
    cd "$demo"
    wine "$demo/图象转换.exe" >/dev/null 2>&1 &
    wine_pid=$!
    DESKTOP_PROGRAM_PID=$wine_pid
    trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

    window="$(desktop_wait_for_window 榆雀图片批量转换器 60)"
    desktop_wait_for_window_size "$window" 750x560 20
    local deadline
    local options=260x100+0+455 list=435x300+15+100 preview=256x270+467+129
    settle_capture grab_main "$shots/main-fresh.png" "$options" "$list"

    # The add button at (8, 410), 127 x 36: the folder typed into the file name box, every file
    # of it selected and opened. A press on the first row, at (15, 100), previews it.
    click_main 71 428
    pick_every_file_in_open_dialog "C:\\photos\\"
    click_main 60 110
    # The dialog's last pixels stay on the window until it repaints: wait until the caption bar
    # looks as it did at start and the preview no longer shows its empty placeholder.
    local fresh="$shots/main-fresh.png" now="$work/now.png"
    deadline=$((SECONDS + 60))
    while :; do
        grab_main "$now"
        if [ "$(compare -metric AE -fuzz 5% "$fresh[750x26+0+0]" "$now[750x26+0+0]" null: 2>&1 || true)" = 0 ] &&
            [ "$(compare -metric AE -fuzz 5% "$fresh[$preview]" "$now[$preview]" null: 2>&1 || true)" != 0 ]; then
            break
        fi
        [ $SECONDS -lt $deadline ] || { echo "screenshots: the listed pictures were not shown within 60 s" >&2; return 1; }
        sleep 0.2
    done
    settle_capture grab_main "$shots/main-listed.png" "$options" "$list" "$preview"

    # The start button at (648, 462), 75 x 75. Poll for the progress panel, then capture once
    # more so that its first lines have been painted; the end message must not be up yet.
    click_main 685 499
    local running="$work/running.png"
    deadline=$((SECONDS + 60))
    while :; do
        if xdotool search --onlyvisible --name "^提示\$" >/dev/null 2>&1; then
            echo "screenshots: the run ended before its progress panel was captured" >&2
            return 1
        fi
        grab_main "$running"
        panel_is_up "$running" && break
        [ $SECONDS -lt $deadline ] || { echo "screenshots: no progress panel within 60 s" >&2; return 1; }
        sleep 0.1
    done
    grab_main "$running"
    if panel_is_up "$running" && ! xdotool search --onlyvisible --name "^提示\$" >/dev/null 2>&1; then
        mv "$running" "$shots/main-running.png"
        echo "screenshots: $shots/main-running.png"
    else
        echo "screenshots: the run ended while its progress panel was captured" >&2
        return 1
    fi

    # The run ends with the message titled 提示 over the window, the progress lines below it.
    local message
    message="$(desktop_wait_for_window 提示 300)"
    # The message box and the progress lines; the panel's bar keeps moving.
    settle_capture grab_main_from_screen "$shots/main-after.png" 750x250+0+200 700x60+20+481
    xdotool key --window "$message" Return
    desktop_wait_until_window_gone 提示 20

    # The font button at (574, 462), 60 x 25, opens the modal font window; its cancel button
    # 按钮2 at (298, 352), 70 x 24, in the client area (3 pixels in from the frame, below the
    # 19-pixel caption) closes it without storing anything.
    click_main 604 474
    font_window="$(desktop_wait_for_window 字体设置 20)"
    settle_capture grab_font "$shots/font-window.png"
    xdotool mousemove --window "$font_window" $((3 + 333)) $((22 + 364)) click 1
    desktop_wait_until_window_gone 字体设置 20

    # The close button at (713, 4), 27 x 19, ends the program.
    click_main 726 13
    deadline=$((SECONDS + 20))
    while kill -0 "$wine_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
    if kill -0 "$wine_pid" 2>/dev/null; then
        echo "screenshots: the program did not end after its close button" >&2
        return 1
    fi
    wait "$wine_pid" || true

    wine "$positions_tool" 'C:\photos\湖边风景.jpg' 'C:\tuconv-mark.png' 'C:\positions' >/dev/null
}

if [ "${1:-}" = --session ]; then
    session
    exit
fi

# --- preparation ---------------------------------------------------------------------------------

"$TOOLS_DIR/setup.sh"
# The program and the positions tool; the tests are not needed here.
[ -f "$BUILD_DIR/CMakeCache.txt" ] || "$TOOLS_DIR/build.sh" >/dev/null
cmake --build "$BUILD_DIR" --target tuconv watermark_positions -j"$(nproc)" >/dev/null
mkdir -p "$shots"
rm -rf "$demo" "$pictures" "$output" "$positions" "$mark"
mkdir -p "$demo"
cp "$exe" "$demo/"
printf '%s\r\n' '[转换设置]' '保存目录=C:\converted\' '转换格式=真' '新格式=PNG' \
    '改变尺寸=真' '按尺寸=真' '按百分比=假' '指定宽度=真' '指定高度=假' '宽度=640' \
    '文字水印=真' '文字内容=榆雀网络' '水印位置=右下' '水印透明=100' |
    iconv -f UTF-8 -t GBK >"$demo/图象转换.Bin"
/usr/bin/python3 "$TOOLS_DIR/make_screenshot_pictures.py" "$pictures" 8
# The picture watermark of the positions' strip: a small label, partly transparent.
convert -size 110x40 xc:none -fill 'rgba(255,255,255,0.85)' -stroke '#2a7f86' -strokewidth 2 \
    -draw 'roundrectangle 1,1 108,38 8,8' -font "$cjk_font" -pointsize 20 -fill '#2a7f86' \
    -stroke none -gravity center -annotate +0+0 榆雀图片 -depth 8 "PNG32:$mark"

"$TOOLS_DIR/with-display.sh" "$0" --session

# --- checks of what the runs wrote ---------------------------------------------------------------

status=0
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Every listed picture was written as a 640-wide PNG, marked only near its bottom-right corner:
# compared with the source scaled by ImageMagick, the pixels differ much more there.
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
    reference="$work/reference.png"
    convert "$source[0]" -resize "${width}x${height}!" "$reference"
    corner=$(compare -metric AE -fuzz 15% "$written[100x30+$((width - 100))+$((height - 30))]" \
        "$reference[100x30+$((width - 100))+$((height - 30))]" null: 2>&1 || true)
    rest=$(compare -metric AE -fuzz 15% "$written[$((width / 2))x$((height / 2))+0+0]" \
        "$reference[$((width / 2))x$((height / 2))+0+0]" null: 2>&1 || true)
    verdict=ok
    [ "$format" = PNG ] && [ "$width" = 640 ] && [ "${corner%.*}" -gt 100 ] &&
        [ "${rest%.*}" -lt 20 ] || { verdict=WRONG; status=1; }
    echo "$name: $format ${width}x$height, watermark pixels $corner in the corner, $rest elsewhere: $verdict"
done
echo "screenshots: $count pictures written into $output"
[ "$count" -gt 0 ] || status=1

# Each position's picture: where it differs from the source scaled by ImageMagick (the watermark)
# must lie in the position's third of the width and of the height.
source="$pictures/湖边风景.jpg"
expected_thirds() {  # position -> "column row", each 0, 1 or 2
    case "$1" in
        顶边) echo "1 0" ;; 底边) echo "1 2" ;; 居中) echo "1 1" ;; 左上) echo "0 0" ;;
        右上) echo "2 0" ;; 左下) echo "0 2" ;; 右下) echo "2 2" ;; *) echo "? ?" ;;
    esac
}
tiles=(-label 原图 "$work/original.png")
positions_seen=0
if [ -f "$positions/positions.txt" ]; then
    while IFS=$'\t' read -r n position; do
        written="$positions/$n/湖边风景.png"
        if [ ! -f "$written" ]; then
            echo "position $n ($position): no picture"
            status=1
            continue
        fi
        positions_seen=$((positions_seen + 1))
        read -r width height < <(identify -format '%w %h\n' "$written")
        [ -f "$work/original.png" ] || convert "$source" -resize "${width}x${height}!" "$work/original.png"
        # The bounding box of the pixels that differ clearly, WxH+X+Y; the opening removes the
        # one-pixel seams where the two scalings round the sun's edge differently.
        box="$(convert "$written" "$work/original.png" -compose difference -composite \
            -colorspace Gray -threshold 25% -morphology Open Square:1 -format '%@' info:)"
        read -r bw bh bx by < <(echo "$box" | sed 's/[x+]/ /g')
        column=$(((bx + bw / 2) * 3 / width))
        row=$(((by + bh / 2) * 3 / height))
        verdict=ok
        [ "$column $row" = "$(expected_thirds "$position")" ] || { verdict=WRONG; status=1; }
        echo "position $n ($position): watermark box $box in third ($column, $row): $verdict"
        tiles+=(-label "$position" "$written")
    done < <(iconv -f GBK -t UTF-8 "$positions/positions.txt")
fi
if [ "$positions_seen" != 7 ]; then
    echo "screenshots: $positions_seen watermark positions written, not 7"
    status=1
fi
montage -font "$cjk_font" -pointsize 18 "${tiles[@]}" -tile 4x2 -geometry +6+6 \
    -background white -depth 8 "$shots/watermark-positions.png"
echo "screenshots: $shots/watermark-positions.png"
exit $status
