# Sourced by the scripts that drive the program from outside with xdotool (under Xvfb).

# In the open-file dialog that has the focus: go to FOLDER (typed into the file name box), select
# every file there and open them; then wait (up to 20 s) until the dialog "选择要转换的图片" is gone.
pick_every_file_in_open_dialog() {
    local folder="$1"
    sleep 0.5
    xdotool type --delay 20 "$folder"
    xdotool key Return
    sleep 1
    xdotool key shift+Tab
    sleep 0.2
    xdotool key Home shift+End
    sleep 0.2
    xdotool key Return
    local deadline=$((SECONDS + 20))
    while [ $SECONDS -lt $deadline ] &&
        xdotool search --onlyvisible --name "^选择要转换的图片\$" >/dev/null 2>&1; do
        sleep 0.2
    done
}
