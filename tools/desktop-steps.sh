# Sourced by the scripts that drive the program from outside with xdotool (under Xvfb).
#
# Every wait polls with a deadline. Input needs no pause between steps: xdotool's events reach
# the program's X window in order and Wine hands them to the window that has the focus when it
# reads them, so a key typed right after a Return that changes the dialog's folder is read in
# the new folder. A step only waits where a new X window has to appear or go (a dialog, the
# font window, a message box) before the next event can be aimed at it.
#
# Set DESKTOP_PROGRAM_PID to the program's process to stop the waits at once when it ends. The
# helpers' names begin with desktop_ so that they leave the sourcing script's own alone.

# The frame Wine draws around a window with a caption: the client area starts this far in from
# the window's outer corner (fixed frame 3 pixels, caption bar 19).
DESKTOP_FRAME_LEFT=3
DESKTOP_FRAME_TOP=22

# Fails when DESKTOP_PROGRAM_PID names a process that has ended.
desktop_program_alive() {
    [ -z "${DESKTOP_PROGRAM_PID:-}" ] || kill -0 "$DESKTOP_PROGRAM_PID" 2>/dev/null
}

# The visible window titled exactly TITLE, if there is one (its first id).
desktop_find_window() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true
}

# TITLE SECONDS -> prints the id of the visible window titled exactly TITLE once it appears.
desktop_wait_for_window() {
    local title="$1" deadline=$((SECONDS + $2)) found
    while [ $SECONDS -lt $deadline ]; do
        found="$(desktop_find_window "$title")"
        [ -n "$found" ] && { echo "$found"; return 0; }
        if ! desktop_program_alive; then
            echo "the program ended while waiting for \"$title\"" >&2
            return 1
        fi
        sleep 0.1
    done
    echo "no window \"$title\" within $2 seconds" >&2
    return 1
}

# TITLE SECONDS: returns once no visible window is titled exactly TITLE.
desktop_wait_until_window_gone() {
    local title="$1" deadline=$((SECONDS + $2))
    while [ -n "$(desktop_find_window "$title")" ]; do
        if [ $SECONDS -ge $deadline ]; then
            echo "window \"$title\" still open after $2 seconds" >&2
            return 1
        fi
        sleep 0.1
    done
}

# WINDOW SIZE SECONDS: returns once the window's geometry is SIZE ("750x560").
desktop_wait_for_window_size() {
    local deadline=$((SECONDS + $3))
    local geometry
    while geometry="$(xdotool getwindowgeometry "$1" 2>/dev/null | sed -n 's/.*Geometry: //p')"
        [ "$geometry" != "$2" ]; do
        [ $SECONDS -lt $deadline ] || { echo "window $1 is not $2 after $3 seconds" >&2; return 1; }
        sleep 0.1
    done
}

# WINDOW SECONDS: returns once the keyboard focus is in WINDOW's program, so typed keys reach
# it. Wine hands each key to the window its program has focused (a modal dialog's box), whichever
# of the program's X windows holds the X focus: without a window manager that one can stay the
# main window after a dialog opens.
desktop_wait_for_keyboard_focus() {
    local deadline=$((SECONDS + $2)) owner holder
    owner="$(xdotool getwindowpid "$1" 2>/dev/null || true)"
    while :; do
        holder="$(xdotool getwindowfocus 2>/dev/null || true)"
        [ -n "$holder" ] && [ -n "$owner" ] &&
            [ "$(xdotool getwindowpid "$holder" 2>/dev/null || true)" = "$owner" ] && return 0
        if [ $SECONDS -ge $deadline ]; then
            echo "the program of window $1 has no keyboard focus after $2 seconds; window" \
                "$holder \"$(xdotool getwindowname "$holder" 2>/dev/null || true)\" has it" >&2
            return 1
        fi
        sleep 0.1
    done
}

# WINDOW X Y: a left click at (X, Y) of the window's own area (frameless windows: the client).
desktop_click_in_window() {
    xdotool mousemove --window "$1" --sync "$2" "$3" click 1
}

# WINDOW X Y: a left click at (X, Y) of the client area of a window with a caption and frame.
desktop_click_in_client() {
    desktop_click_in_window "$1" $((DESKTOP_FRAME_LEFT + $2)) $((DESKTOP_FRAME_TOP + $3))
}

# Replaces the whole text of the edit box that has the focus by TEXT (ASCII).
desktop_replace_focused_text() {
    xdotool key End shift+Home BackSpace
    xdotool type --delay 20 "$1"
}

# DIALOG TEXT: types TEXT into the file name box of the open-file dialog DIALOG (the box has the
# focus when the dialog opens) and presses Return.
desktop_type_into_open_dialog() {
    desktop_wait_for_keyboard_focus "$1" 30
    xdotool type --delay 20 "$2"
    xdotool key Return
}

# In the open-file dialog "选择要转换的图片": go to FOLDER (typed into the file name box), select
# every file there and open them; then wait (up to 60 s) until the dialog is gone.
pick_every_file_in_open_dialog() {
    local folder="$1" dialog
    dialog="$(desktop_wait_for_window 选择要转换的图片 60)"
    desktop_type_into_open_dialog "$dialog" "$folder"
    # Back from the file name box to the file list, every file selected, opened.
    xdotool key shift+Tab Home shift+End Return
    desktop_wait_until_window_gone 选择要转换的图片 60
}

# BOX SECONDS: clicks the push button of the message box BOX (a lone OK button, centred in the
# box's bottom band). The button is found in captures of the box, taken until one shows it (the
# box may be mapped before it has painted): its top and bottom edges are the lowest rows whose
# middle 51 pixels all stand out from the box's background at that row's left end (the caption
# bar and the box's frame span the whole row; the texts leave gaps).
desktop_click_message_box_button() {
    local box="$1" deadline=$((SECONDS + $2)) capture middle=""
    capture="$(mktemp --suffix=.png)"
    while [ -z "$middle" ]; do
        if [ $SECONDS -ge $deadline ]; then
            rm -f "$capture"
            echo "no button found in message box $box" >&2
            return 1
        fi
        import -window "$box" "$capture" 2>/dev/null || true
        # Prints "x y" of the button's middle, relative to the box window, or nothing.
        middle="$(/usr/bin/python3 - "$capture" 2>/dev/null <<'PY'
import sys
from PIL import Image

picture = Image.open(sys.argv[1]).convert("RGB")
width, height = picture.size


def stands_out(pixel, background):
    return max(abs(pixel[i] - background[i]) for i in range(3)) > 20


edges = []
for y in range(height // 3, height):
    background = picture.getpixel((6, y))
    if all(stands_out(picture.getpixel((x, y)), background)
           for x in range(width // 2 - 25, width // 2 + 26)):
        edges.append(y)
if edges:
    bottom = edges[-1]
    tops = [y for y in edges if 15 <= bottom - y <= 45]
    if tops:
        print(width // 2, (tops[0] + bottom) // 2)
PY
)" || middle=""
        [ -n "$middle" ] || sleep 0.2
    done
    rm -f "$capture"
    # shellcheck disable=SC2086
    desktop_click_in_window "$box" $middle
}
