#!/usr/bin/env bash
# Outside-in acceptance: the built program, started under Wine from a fresh folder with no
# settings file, is driven only from outside as a person would, with mouse clicks on its
# controls and keys typed into them. The options are ticked in the main window (PNG, a width of
# 320, a text watermark at the top left), the font window is opened with its button, the size,
# style and effects changed and its OK button clicked, pictures are listed through the add
# button's open-file dialog by typing their folder and names, the start button runs the batch, the
# end-of-run message is dismissed with its button and the close button ends the program.
# Then the written pictures (format, size, content, watermark only where asked) and the
# settings file beside the program are checked.
#
# Run by CTest inside the suite's display and Wine server (tools/test.sh); by hand it starts a
# private Xvfb when there is no display. It never stops the Wine server: on failure it saves a
# capture of the screen into $BUILD_DIR/acceptance-failure.png and ends the program's process.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
if [ -z "${ACCEPTANCE_DISPLAY_READY:-}" ]; then
    export ACCEPTANCE_DISPLAY_READY=1
    exec "$TOOLS_DIR/with-display.sh" bash "${BASH_SOURCE[0]}" "$@"
fi
source "$TOOLS_DIR/desktop-steps.sh"

program="$BUILD_DIR/bin/图象转换.exe"
[ -f "$program" ] || { echo "acceptance: $program is not built" >&2; exit 1; }

# A fresh folder of drive C: the program with no settings file beside it, and the pictures.
root="$WINEPREFIX/drive_c/tuconv-acceptance"
root_windows='C:\tuconv-acceptance'
output="$root/out/converted"
output_windows="$root_windows\\out\\converted"
rm -rf "$root"
mkdir -p "$root/app" "$root/photos"
cp "$program" "$root/app/"
settings="$root/app/图象转换.Bin"
failure_shot="$BUILD_DIR/acceptance-failure.png"
rm -f "$failure_shot"

# The pictures, one per input format, of different sizes and shapes.
/usr/bin/python3 "$TOOLS_DIR/acceptance_pictures.py" make "$root/photos"

# Each step is named as it begins, with the seconds since the start, so a failure says where.
step=""
begin_step() {
    step="$1"
    echo "acceptance: [${SECONDS}s] $step"
}
begin_step "starting the program"
program_pid=""
finish() {
    local status=$?
    if [ $status -ne 0 ]; then
        echo "acceptance: FAILED while $step" >&2
        if [ -n "$program_pid" ]; then
            import -window root "$failure_shot" 2>/dev/null &&
                echo "acceptance: the screen at the failure is in $failure_shot" >&2
        fi
    fi
    # The program's own process ends, never the shared Wine server.
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid" 2>/dev/null || true
        local deadline=$((SECONDS + 20))
        while kill -0 "$program_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
        kill -9 "$program_pid" 2>/dev/null || true
    fi
    exit $status
}
trap finish EXIT

(cd "$root/app" && exec wine ./图象转换.exe >/dev/null 2>&1) &
program_pid=$!
export DESKTOP_PROGRAM_PID=$program_pid
main="$(desktop_wait_for_window 榆雀图片批量转换器 120)"
desktop_wait_for_window_size "$main" 750x560 60

# The main window is frameless: its controls lie at their form places from its corner. The font
# window's lie in its client area, inside the frame Wine draws.
click_main() { desktop_click_in_window "$main" "$@"; }
click_font() { desktop_click_in_client "$font" "$@"; }
begin_step "ticking 转换格式 and choosing PNG"
click_main 34 474   # 选择框_转换格式 (24, 464)
desktop_wait_for_keyboard_focus "$main" 30  # keys typed below go to the window
click_main 149 474  # 组合框_新格式 (97, 464): PNG is its last item
xdotool key End Return

begin_step "ticking 改变尺寸 and typing the width"
click_main 34 502   # 选择框_改变尺寸 (24, 492); 按尺寸 and 指定宽度 are ticked
click_main 115 530  # 编辑框_宽度 (71, 0) in 图片框2 (24, 520)
desktop_replace_focused_text 320

begin_step "ticking 文字水印, typing its text and choosing 左上"
click_main 290 474  # 选择框_文字水印 (280, 464)
click_main 394 474  # 编辑框_水印文字 (348, 464)
desktop_replace_focused_text ACCEPT
click_main 386 530  # 组合框_水印位置 (348, 520): 顶边 底边 居中 左上 ...
xdotool key Home Down Down Down Return

begin_step "typing the output folder"
click_main 530 436  # 编辑框1 (1, 1) in 外形框1 (404, 426)
desktop_replace_focused_text "$output_windows"

begin_step "changing the font in the font window"
click_main 604 474  # 按钮_字体设置 (574, 462)
font="$(desktop_wait_for_window 字体设置 60)"
click_font 128 44   # 组合框2 (72, 34): 6 7 8 9 10 12 14 16 18 20 ...
xdotool key Home Down Down Down Down Down Down Down Down Down Return
click_font 82 93    # 单选框1 常规 (72, 83)
click_font 206 118  # 选择框3 光晕字 (196, 108): ticked by default, cleared
click_font 266 118  # 选择框4 阴影字 (256, 108)
click_font 251 364  # 按钮1 确定 (216, 352)
desktop_wait_until_window_gone 字体设置 60

# One dialog for all: under Wine a second open-file dialog of the run takes some 15 s to appear.
begin_step "listing the pictures by typing their names into the open-file dialog"
click_main 71 428   # 按钮_添加图片 (8, 410)
dialog="$(desktop_wait_for_window 选择要转换的图片 60)"
desktop_type_into_open_dialog "$dialog" "$root_windows\\photos\\"
# The Return above took the dialog into the folder; the names are typed there.
xdotool type --delay 20 '"lake.jpg" "dusk.png" "night.bmp" "dunes.gif"'
xdotool key Return
desktop_wait_until_window_gone 选择要转换的图片 60

begin_step "running the batch"
click_main 685 499  # 按钮_开始转换 (648, 462)
deadline=$((SECONDS + 120))
message=""
while [ -z "$message" ]; do
    [ -z "$(desktop_find_window 错误)" ] || { echo "acceptance: the run was refused" >&2; exit 1; }
    message="$(desktop_find_window 提示)"
    [ $SECONDS -lt $deadline ] || { echo "acceptance: no end-of-run message" >&2; exit 1; }
    desktop_program_alive || { echo "acceptance: the program ended during the run" >&2; exit 1; }
    [ -n "$message" ] || sleep 0.1
done

begin_step "dismissing the end-of-run message with its button"
desktop_click_message_box_button "$message" 30
desktop_wait_until_window_gone 提示 60

begin_step "closing the program with its close button"
click_main 726 13   # 按钮_关闭 (713, 4)
deadline=$((SECONDS + 60))
while kill -0 "$program_pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || { echo "acceptance: the program is still running" >&2; exit 1; }
    sleep 0.1
done
wait "$program_pid" || true
program_pid=""

begin_step "checking the written pictures"
failures=0
fail() {
    echo "acceptance: $*" >&2
    failures=$((failures + 1))
}
expected=(dunes.png dusk.png lake.png night.png)
written=()
[ -d "$output" ] && mapfile -t written < <(ls -1 "$output" | sort)
[ "${written[*]:-}" = "${expected[*]}" ] ||
    fail "the output folder holds '${written[*]:-}', expected '${expected[*]}'"
pairs=()
for source in "$root"/photos/*; do
    name="$(basename "${source%.*}").png"
    file="$output/$name"
    [ -f "$file" ] || continue
    read -r format width height < <(identify -format '%m %w %h\n' "$file" | head -n1)
    read -r source_width source_height < <(identify -format '%w %h\n' "$source" | head -n1)
    # The other side in proportion, multiplied before divided, truncated.
    want_height=$((source_height * 320 / source_width))
    echo "acceptance: $name: $format ${width}x$height"
    [ "$format" = PNG ] || fail "$name is $format, expected PNG"
    [ "$width" = 320 ] && [ "$height" = "$want_height" ] ||
        fail "$name is ${width}x$height, expected 320x$want_height"
    pairs+=("$source" "$file")
done
# Compared with its source scaled alike, each differs near the top left only: the watermark.
if [ ${#pairs[@]} -gt 0 ]; then
    /usr/bin/python3 "$TOOLS_DIR/acceptance_pictures.py" marks "${pairs[@]}" ||
        fail "a watermark is missing or misplaced"
fi

begin_step "checking the settings file"
decoded="$(mktemp)"
if [ -f "$settings" ]; then
    iconv -f GBK -t UTF-8 "$settings" | tr -d '\r' >"$decoded"
else
    fail "no settings file beside the program"
fi
# SECTION KEY -> the value stored under KEY in [SECTION], or "<missing>".
stored_value() {
    awk -v section="[$1]" -v key="$2" '
        /^\[/ { inside = ($0 == section); next }
        inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); found = 1; exit }
        END { if (!found) print "<missing>" }' "$decoded"
}
expect_setting() {
    local value
    value="$(stored_value "$1" "$2")"
    [ "$value" = "$3" ] || fail "settings [$1] $2 is '$value', expected '$3'"
}
expect_setting 转换设置 保存目录 "$output_windows\\"
expect_setting 转换设置 转换格式 真
expect_setting 转换设置 新格式 PNG
expect_setting 转换设置 改变尺寸 真
expect_setting 转换设置 按尺寸 真
expect_setting 转换设置 按百分比 假
expect_setting 转换设置 指定宽度 真
expect_setting 转换设置 指定高度 假
expect_setting 转换设置 宽度 320
expect_setting 转换设置 文字水印 真
expect_setting 转换设置 图片水印 假
expect_setting 转换设置 文字内容 ACCEPT
expect_setting 转换设置 水印位置 左上
expect_setting 转换设置 水印透明 100
expect_setting 字体设置 字体名称 宋体
expect_setting 字体设置 字体大小 20
expect_setting 字体设置 字体字型 1
expect_setting 字体设置 光晕字 假
expect_setting 字体设置 阴影字 真
expect_setting 字体设置 删除线 假
expect_setting 字体设置 下划线 假
rm -f "$decoded"

[ $failures -eq 0 ] || exit 1
echo "acceptance: passed"
