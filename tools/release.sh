#!/usr/bin/env bash
# Builds the program (Release) and packs the release zip
#   $BUILD_DIR/release/tuconv-<version>-win-x64.zip
# holding one folder 榆雀图片批量转换器/ with the stripped program 图象转换.exe, 说明.txt (Chinese,
# code page 936, CRLF) and README.txt (English, UTF-8 with a byte order mark, CRLF), and nothing
# else. The version is the project's, from CMakeLists.txt.
# Before packing it checks that the program imports only DLLs that come with Windows. After
# packing it unzips into a fresh folder of the Wine prefix, starts the program there (inside a
# private Xvfb when there is no display), waits for its main window, ends it with its close button
# and checks that it exited with 0 and left the folder as unzipped. Prints the zip's path and size.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TOOLS_DIR/setup.sh"

version="$(sed -n 's/^project(tuconv .*VERSION \([0-9][0-9.]*\).*/\1/p' "$PROJECT_DIR/CMakeLists.txt")"
[ -n "$version" ] || { echo "release: no project version in CMakeLists.txt" >&2; exit 1; }
folder_name="榆雀图片批量转换器"
program_name="图象转换.exe"
release_dir="$BUILD_DIR/release"
zip_path="$release_dir/tuconv-$version-win-x64.zip"

# The program alone, optimised: the build tree is configured for Release, the tests are not needed.
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$PROJECT_DIR" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$PROJECT_DIR/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
build_type="$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt")"
if [ "$build_type" != Release ]; then
    echo "release: $BUILD_DIR is configured for '$build_type', not Release" >&2
    exit 1
fi
cmake --build "$BUILD_DIR" --target tuconv -j"$(nproc)" >/dev/null

stage="$release_dir/stage"
rm -rf "$stage" "$zip_path"
mkdir -p "$stage/$folder_name"
x86_64-w64-mingw32-strip -o "$stage/$folder_name/$program_name" "$BUILD_DIR/bin/$program_name"
sed "s/@VERSION@/$version/" "$PROJECT_DIR/docs/release/说明.txt" | sed 's/$/\r/' |
    iconv -f UTF-8 -t GBK >"$stage/$folder_name/说明.txt"
{
    printf '\xEF\xBB\xBF'
    sed "s/@VERSION@/$version/" "$PROJECT_DIR/docs/release/README.txt" | sed 's/$/\r/'
} >"$stage/$folder_name/README.txt"

# Nothing a user must install: every imported DLL is part of Windows (GDI+ is loaded at run time).
system_dlls=(kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll ole32.dll
    oleaut32.dll advapi32.dll shlwapi.dll psapi.dll msvcrt.dll)
imports="$(x86_64-w64-mingw32-objdump -p "$stage/$folder_name/$program_name" |
    sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)"
for dll in $imports; do
    known=0
    for system_dll in "${system_dlls[@]}"; do [ "$dll" = "$system_dll" ] && known=1; done
    if [ $known = 0 ]; then
        echo "release: the program imports $dll, which does not come with Windows" >&2
        exit 1
    fi
done
echo "release: imports $(echo $imports)"

# Names stored as UTF-8 with each entry's UTF-8 flag (bit 11), so that Explorer shows them right
# on any Windows; Python's zipfile sets the flag for every name that is not plain ASCII.
/usr/bin/python3 - "$stage" "$folder_name" "$zip_path" <<'PY'
import os, sys, zipfile
stage, folder, out = sys.argv[1:]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    archive.write(os.path.join(stage, folder), folder + "/")
    for name in sorted(os.listdir(os.path.join(stage, folder))):
        archive.write(os.path.join(stage, folder, name), folder + "/" + name)
with zipfile.ZipFile(out) as archive:
    unflagged = [i.filename for i in archive.infolist() if not i.flag_bits & 0x800]
if unflagged:
    sys.exit("release: names without the UTF-8 flag: " + ", ".join(unflagged))
PY

# The zip holds exactly the folder and its three files.
listed="$(unzip -Z1 "$zip_path" | sort)"
wanted="$(printf '%s\n' "$folder_name/" "$folder_name/README.txt" "$folder_name/$program_name" \
    "$folder_name/说明.txt" | sort)"
if [ "$listed" != "$wanted" ]; then
    echo "release: the zip holds"$'\n'"$listed"$'\n'"in place of"$'\n'"$wanted" >&2
    exit 1
fi

# Unzipped into a fresh folder, the program starts, shows its window and ends by its close button.
trial="$WINEPREFIX/drive_c/tuconv-release-trial"
rm -rf "$trial"
mkdir -p "$trial"
unzip -q "$zip_path" -d "$trial"
before="$(cd "$trial" && find . | sort)"
"$TOOLS_DIR/with-display.sh" bash -c '
    set -euo pipefail
    cd "$1"
    wine "./$2" >/dev/null 2>&1 &
    wine_pid=$!
    trap "wineserver -k 2>/dev/null || true" EXIT
    source "$TOOLS_DIR/desktop-steps.sh"
    DESKTOP_PROGRAM_PID=$wine_pid
    window="$(desktop_wait_for_window 榆雀图片批量转换器 60)" || { echo "release: no main window" >&2; exit 1; }
    desktop_wait_for_window_size "$window" 750x560 20 || exit 1
    echo "release: the main window appeared"
    # The close button at (713, 4), 27 x 19.
    desktop_click_in_window "$window" 726 13
    deadline=$((SECONDS + 20))
    while kill -0 "$wine_pid" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || { echo "release: the program did not end after its close button" >&2; exit 1; }
        sleep 0.2
    done
    rc=0
    wait "$wine_pid" || rc=$?
    [ "$rc" = 0 ] || { echo "release: the program ended with $rc" >&2; exit 1; }
    echo "release: the close button ended the program"
' release-trial "$trial/$folder_name" "$program_name"
after="$(cd "$trial" && find . | sort)"
if [ "$before" != "$after" ]; then
    echo "release: the program changed its folder:" >&2
    diff <(echo "$before") <(echo "$after") >&2 || true
    exit 1
fi
rm -rf "$trial"

echo "release: $zip_path ($(stat -c %s "$zip_path") bytes)"
unzip -l "$zip_path"
