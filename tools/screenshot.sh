#!/usr/bin/env bash
# Builds the program, starts it under Wine (inside a private Xvfb when there is no display),
# waits for the main window "榆雀图片批量转换器" to be mapped, captures a window and closes the
# program. SCREENSHOT_FILE names the capture in place of the default below.
#
#   tools/screenshot.sh [main]  captures the main window into docs/screenshots/main-window.png.
#                               Before the capture it lists a few generated pictures through the
#                               add button's open-file dialog and previews the first one, as a
#                               user would; SCREENSHOT_EMPTY=1 captures the window as it starts.
#   tools/screenshot.sh font    opens the font window "字体设置" from the main window's font
#                               button, captures that window, with its preview, into
#                               docs/screenshots/font-window.png, and closes both windows.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
mode="${1:-main}"
case "$mode" in
    main) default_out="$PROJECT_DIR/docs/screenshots/main-window.png" ;;
    font) default_out="$PROJECT_DIR/docs/screenshots/font-window.png" ;;
    *) echo "usage: $0 [main|font]" >&2; exit 2 ;;
esac
"$TOOLS_DIR/setup.sh"
"$TOOLS_DIR/build.sh"
exe="$BUILD_DIR/bin/图象转换.exe"
out="${SCREENSHOT_FILE:-$default_out}"
mkdir -p "$(dirname "$out")"

# The pictures to list, in the prefix's drive C, so the dialog reaches them as C:\photos\.
if [ "$mode" = main ]; then
    pictures="$WINEPREFIX/drive_c/photos"
    rm -rf "$pictures"
    /usr/bin/python3 "$TOOLS_DIR/make_screenshot_pictures.py" "$pictures"
fi

"$TOOLS_DIR/with-display.sh" bash -c '
    set -euo pipefail
    exe="$1"; out="$2"; mode="$3"
    wine "$exe" >/dev/null 2>&1 &
    wine_pid=$!
    trap "wineserver -k 2>/dev/null || true" EXIT

    # Poll for the mapped window, with a deadline.
    window=""
    deadline=$((SECONDS + 60))
    while [ $SECONDS -lt $deadline ]; do
        window="$(xdotool search --onlyvisible --name "^榆雀图片批量转换器\$" 2>/dev/null | head -n1 || true)"
        [ -n "$window" ] && break
        if ! kill -0 "$wine_pid" 2>/dev/null; then
            echo "screenshot: the program ended before its window appeared" >&2
            exit 1
        fi
        sleep 0.2
    done
    if [ -z "$window" ]; then
        echo "screenshot: no window \"榆雀图片批量转换器\" within 60 seconds" >&2
        exit 1
    fi

    # Wait until the window has its final size, then let it paint.
    deadline=$((SECONDS + 20))
    while [ $SECONDS -lt $deadline ]; do
        geometry="$(xdotool getwindowgeometry "$window" 2>/dev/null | sed -n "s/.*Geometry: //p")"
        [ "$geometry" = "750x560" ] && break
        sleep 0.2
    done
    # The main window is captured with a picture previewed unless SCREENSHOT_EMPTY is set; the
    # font window is opened from the window as it starts.
    previewing=""
    if [ "$mode" = main ] && [ -z "${SCREENSHOT_EMPTY:-}" ]; then previewing=1; fi
    # List the pictures: the add button at (8, 410), 127 x 36, opens the dialog; the folder is
    # typed into the file name box, then every file of it is selected in the file list and
    # opened. Then a press on the first row previews it.
    if [ -n "$previewing" ]; then
        xdotool mousemove --window "$window" 71 428 click 1
        dialog=""
        deadline=$((SECONDS + 20))
        while [ $SECONDS -lt $deadline ]; do
            dialog="$(xdotool search --onlyvisible --name "^选择要转换的图片\$" 2>/dev/null | head -n1 || true)"
            [ -n "$dialog" ] && break
            sleep 0.2
        done
        if [ -z "$dialog" ]; then
            echo "screenshot: the open-file dialog did not appear" >&2
            exit 1
        fi
        source "$TOOLS_DIR/desktop-steps.sh"
        pick_every_file_in_open_dialog "C:\\photos\\"
        # The first row lies at the top of the list view at (15, 100).
        xdotool mousemove --window "$window" 60 110 click 1
    fi

    # Capture until two captures in a row agree on the option panel (the preview animation and
    # the caret keep changing elsewhere): the window has finished painting.
    shot_dir="$(mktemp -d)"
    previous="$shot_dir/previous.png"
    current="$shot_dir/current.png"
    import -window "$window" "$previous"
    deadline=$((SECONDS + 20))
    while :; do
        sleep 0.3
        import -window "$window" "$current"
        difference="$(compare -metric AE "$previous[260x100+0+455]" "$current[260x100+0+455]" \
            null: 2>&1 || true)"
        # and on the preview with its size label, once a picture is previewed.
        if [ -n "$previewing" ] && [ "$difference" = "0" ]; then
            difference="$(compare -metric AE "$previous[256x270+467+129]" \
                "$current[256x270+467+129]" null: 2>&1 || true)"
        fi
        [ "$difference" = "0" ] && break
        if [ $SECONDS -ge $deadline ]; then
            echo "screenshot: the window kept changing; taking the last capture" >&2
            break
        fi
        mv "$current" "$previous"
    done
    if [ "$mode" = main ]; then
        mv "$current" "$out"
        echo "screenshot: $out ($geometry)"
    else
        # The font button at (574, 462), 60 x 25, opens the modal font window.
        xdotool mousemove --window "$window" 604 474 click 1
        font_window=""
        deadline=$((SECONDS + 20))
        while [ $SECONDS -lt $deadline ]; do
            font_window="$(xdotool search --onlyvisible --name "^字体设置\$" 2>/dev/null | head -n1 || true)"
            [ -n "$font_window" ] && break
            sleep 0.2
        done
        if [ -z "$font_window" ]; then
            echo "screenshot: no window \"字体设置\" within 20 seconds" >&2
            exit 1
        fi
        # Capture until two captures in a row agree: the window and its preview have painted.
        import -window "$font_window" "$previous"
        deadline=$((SECONDS + 20))
        while :; do
            sleep 0.3
            import -window "$font_window" "$current"
            difference="$(compare -metric AE "$previous" "$current" null: 2>&1 || true)"
            [ "$difference" = "0" ] && break
            if [ $SECONDS -ge $deadline ]; then
                echo "screenshot: the font window kept changing; taking the last capture" >&2
                break
            fi
            mv "$current" "$previous"
        done
        mv "$current" "$out"
        echo "screenshot: $out ($(xdotool getwindowgeometry "$font_window" | sed -n "s/.*Geometry: //p"))"
        # Its cancel button closes it without storing anything: 按钮2 at (298, 352), 70 x 24, in
        # the client area, which lies 3 pixels in from the frame and below the 19-pixel caption.
        xdotool mousemove --window "$font_window" $((3 + 333)) $((22 + 364)) click 1
        deadline=$((SECONDS + 20))
        while xdotool search --onlyvisible --name "^字体设置\$" >/dev/null 2>&1; do
            if [ $SECONDS -ge $deadline ]; then
                echo "screenshot: the font window did not close" >&2
                exit 1
            fi
            sleep 0.2
        done
    fi
    rm -rf "$shot_dir"

    # Close the program the way a user would: its close button at (713, 4), 27 x 19.
    xdotool mousemove --window "$window" 726 13 click 1
    deadline=$((SECONDS + 20))
    while kill -0 "$wine_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
    if kill -0 "$wine_pid" 2>/dev/null; then
        echo "screenshot: the program did not end after its close button" >&2
        exit 1
    fi
    wait "$wine_pid" || true
' screenshot "$exe" "$out" "$mode"
