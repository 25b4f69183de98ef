#!/usr/bin/env bash
# The batch conversion benchmark: the program's own conversion (convert_bench.exe under Wine)
# against ImageMagick's convert, single-threaded and with its default threads, on the same
# generated photo-like JPEG pictures, for the same three jobs:
#   1: resize to 50%, save as PNG
#   2: resize to width 1024, save as JPG, text watermark with glow and shadow
#   3: keep the size, save as JPG, picture watermark
# Then the program's peak memory for 10 and for 40 pictures, to show it stays flat.
#
#   bench/run-bench.sh [count (20)] [size (3000x2000)] [flat-size (1200x800)]
#
# Generated pictures are kept in $BUILD_DIR/bench/work and reused by later runs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../tools/env.sh"
count="${1:-20}"
size="${2:-3000x2000}"
flat_size="${3:-1200x800}"
# Everything below runs with one display (a private Xvfb when there is none) and one wineserver.
if [ -z "${TUCONV_BENCH_INSIDE:-}" ]; then
    export TUCONV_BENCH_INSIDE=1
    exec "$TOOLS_DIR/with-display.sh" bash "${BASH_SOURCE[0]}" "$@"
fi

im=/usr/bin/convert
[ -x "$im" ] || im=convert
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
text="Yuque Pictures 2024"

"$TOOLS_DIR/setup.sh"
if [ -f "$BUILD_DIR/CMakeCache.txt" ] && [ ! -d "$BUILD_DIR/bench" ]; then
    cmake -S "$PROJECT_DIR" -B "$BUILD_DIR" >/dev/null  # picks up bench/ in an older build tree
fi
"$TOOLS_DIR/build.sh" >/dev/null
bench_exe="$BUILD_DIR/bench/convert_bench.exe"
work="$BUILD_DIR/bench/work"
mkdir -p "$work"

# Photo-like pictures: one plasma field, rolled to a new place and given new grain per picture.
make_pictures() {  # folder count size
    local folder=$1 n=$2 dims=$3
    [ "$(ls "$folder"/*.jpg 2>/dev/null | wc -l)" -ge "$n" ] && return
    mkdir -p "$folder"
    local base="$work/plasma-$dims.png"
    [ -f "$base" ] || "$im" -size "$dims" -seed 7 plasma:fractal -blur 0x2 "$base"
    for i in $(seq 1 "$n"); do
        "$im" "$base" -roll "+$((i * 211))+$((i * 137))" -seed "$i" -attenuate 0.4 \
            +noise Gaussian -quality 90 "$folder/$(printf 'photo%03d' "$i").jpg"
    done
}

pictures="$work/pictures-$count-$size"
echo "Preparing $count pictures of $size ..."
make_pictures "$pictures" "$count" "$size"
mark="$work/mark.png"
[ -f "$mark" ] || "$im" -size 320x96 xc:none -fill 'rgba(255,255,255,0.75)' \
    -draw 'roundrectangle 0,0 319,95 16,16' -fill 'rgba(20,60,160,0.9)' -font "$font" \
    -pointsize 36 -gravity center -annotate +0+0 'WATERMARK' "$mark"

# The program: one job per process, under Wine with a display.
run_program() {  # job pictures-folder output-folder -> prints "ms peak-working-set peak-pagefile"
    local job=$1 in=$2 out=$3
    rm -rf "$out"
    mkdir -p "$out"
    local line
    line=$(wine "$bench_exe" "$job" "$(winepath -w "$in")" "$(winepath -w "$out")" \
        "$(winepath -w "$mark")" 2>/dev/null | tr -d '\r' | grep '^job=')
    [ -n "$line" ] || { echo "convert_bench failed for job $job" >&2; return 1; }
    local ms peak pagefile missing
    ms=$(sed -E 's/.*ms_per_picture=([0-9.]+).*/\1/' <<<"$line")
    peak=$(sed -E 's/.*peak_working_set_mb=([0-9.]+).*/\1/' <<<"$line")
    pagefile=$(sed -E 's/.*peak_pagefile_mb=([0-9.]+).*/\1/' <<<"$line")
    missing=$(sed -E 's/.*not_written=([0-9]+).*/\1/' <<<"$line")
    [ "$missing" = 0 ] || echo "warning: $missing pictures not written in job $job" >&2
    echo "$ms $peak $pagefile"
}

# ImageMagick: one convert per picture, the same work as the program's job.
im_job_args() {  # job input output -> the convert command's arguments
    local job=$1 in=$2 out=$3
    case $job in
        1) echo "$in" -resize 50% "$out.png" ;;
        2) ;;  # built in run_im: the text needs quoting
        3) echo "$in" "$mark" -gravity SouthEast -geometry +10+10 -composite "$out.jpg" ;;
    esac
}
run_im() {  # job threads(1|default) -> prints "ms peak-rss-mb"
    local job=$1 threads=$2 out="$work/im-out" limit=()
    rm -rf "$out"
    mkdir -p "$out"
    [ "$threads" = 1 ] && limit=(-limit thread 1)
    local start end peak=0 kb
    start=$(date +%s%N)
    for in in "$pictures"/*.jpg; do
        local name
        name=$(basename "$in" .jpg)
        if [ "$job" = 2 ]; then
            # The program draws the shadow (+4, +4), two glow rings of four copies each, then
            # the text: the same ten drawings here, from the bottom-right corner.
            kb=$( { /usr/bin/time -f '%M' "$im" "${limit[@]}" "$in" -resize 1024x \
                -font "$font" -pointsize 40 -gravity SouthEast \
                -fill 'rgba(64,64,64,0.9)' -annotate +6+6 "$text" \
                -fill 'rgba(0,0,0,0.74)' -annotate +10+8 "$text" -annotate +8+10 "$text" \
                -annotate +12+10 "$text" -annotate +10+12 "$text" \
                -fill 'rgba(0,0,0,0.82)' -annotate +10+9 "$text" -annotate +9+10 "$text" \
                -annotate +11+10 "$text" -annotate +10+11 "$text" \
                -fill 'rgba(255,255,255,0.9)' -annotate +10+10 "$text" \
                "$out/$name.jpg"; } 2>&1 >/dev/null | tail -1)
        else
            # shellcheck disable=SC2046
            kb=$( { /usr/bin/time -f '%M' "$im" "${limit[@]}" \
                $(im_job_args "$job" "$in" "$out/$name"); } 2>&1 >/dev/null | tail -1)
        fi
        [ "$kb" -gt "$peak" ] && peak=$kb
    done
    end=$(date +%s%N)
    awk -v ns=$((end - start)) -v n="$count" -v kb="$peak" \
        'BEGIN { printf "%.1f %.1f\n", ns / 1e6 / n, kb / 1024 }'
}

jobs_text=("resize 50% -> PNG" "width 1024 -> JPG + text (glow, shadow)" "same size -> JPG + picture")

wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1

results=$(
    for job in 1 2 3; do
        read -r ms peak pagefile < <(run_program "$job" "$pictures" "$work/out-$job")
        read -r im1 im1mem < <(run_im "$job" 1)
        read -r imd imdmem < <(run_im "$job" default)
        echo "$job $ms $peak $pagefile $im1 $im1mem $imd $imdmem"
    done
)

echo
echo "Batch conversion, $count pictures of $size (times per picture, peak memory of the process)"
printf '%-42s %12s %12s %12s %12s %12s %9s %9s\n' job "program ms" "program MB" \
    "IM-1 ms" "IM-1 MB" "IM-def ms" "÷IM-1" "÷IM-def"
while read -r job ms peak pagefile im1 im1mem imd imdmem; do
    awk -v t="${jobs_text[$((job - 1))]}" -v ms="$ms" -v peak="$peak" -v im1="$im1" \
        -v im1mem="$im1mem" -v imd="$imd" \
        'BEGIN { printf "%-42s %12.1f %12.1f %12.1f %12.1f %12.1f %9.2f %9.2f\n",
                 t, ms, peak, im1, im1mem, imd, ms / im1, ms / imd }'
done <<<"$results"
echo "(program MB: peak working set of the Wine process, Wine's own memory included;"
echo " IM MB: largest peak resident size of one convert process; ÷: program time over IM time)"

# Memory stays flat as the count grows: the same job over 10 and over 40 pictures.
flat="$work/pictures-40-$flat_size"
echo
echo "Preparing 40 pictures of $flat_size ..."
make_pictures "$flat" 40 "$flat_size"
flat10="$work/pictures-10-$flat_size"
mkdir -p "$flat10"
for f in $(ls "$flat"/*.jpg | head -10); do ln -sf "$f" "$flat10/"; done
for job in 1 2 3; do
    read -r ms10 peak10 pf10 < <(run_program "$job" "$flat10" "$work/flat-out")
    read -r ms40 peak40 pf40 < <(run_program "$job" "$flat" "$work/flat-out")
    printf "job %d: peak working set %7.1f MB for 10 pictures, %7.1f MB for 40 (%.1f / %.1f ms per picture)\n" \
        "$job" "$peak10" "$peak40" "$ms10" "$ms40"
done
