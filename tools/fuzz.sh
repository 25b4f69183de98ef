#!/usr/bin/env bash
# Fuzzes the window-free logic natively with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, for a bounded time per target, and prints a table of the figures.
#
#   tools/fuzz.sh [seconds-per-target (300)] [target ...]
#
# Targets are tests/fuzz/<target>_fuzz.cpp. Each starts from its kept seeds
# (tests/fuzz/corpus/<target>/) and first replays its kept findings
# (tests/fuzz/regressions/<target>/). The growing corpus and any new finding go under
# $BUILD_DIR/fuzz/; a finding is fixed, then its input is kept as a regression case.
# The sources are built as the program's own build sees them: their texts in GBK.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

seconds="${1:-300}"
shift || true
cd "$PROJECT_DIR"
if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for source in tests/fuzz/*_fuzz.cpp; do
        name="$(basename "$source" .cpp)"
        targets+=("${name%_fuzz}")
    done
fi

if ! command -v clang++ >/dev/null; then
    echo "fuzz: installing clang"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends clang
fi

out="$BUILD_DIR/fuzz"
src="$out/src"
mkdir -p "$out"
logic_sources=(app/settings_values.cpp app/path_rules.cpp forms/runtime/text.cpp
               convert/run_rules.cpp picturelist/list_rules.cpp shellutil/shell_rules.cpp)
headers=(app/*.h convert/*.h picturelist/*.h shellutil/shell_rules.h forms/runtime/text.h
         tests/fuzz/*.h)
/usr/bin/python3 "$TOOLS_DIR/gbk_source.py" "$PROJECT_DIR" "$src" "${logic_sources[@]}" "${headers[@]}" \
    tests/fuzz/*_fuzz.cpp

cxx=(clang++ -std=c++17 -g -O1 -fno-sanitize-recover=undefined -I"$src" -Wall -Wextra)
objects=()
for file in "${logic_sources[@]}"; do
    object="$out/obj/${file%.cpp}.o"
    mkdir -p "$(dirname "$object")"
    if [ ! -e "$object" ] || [ "$src/$file" -nt "$object" ] ||
       [ -n "$(find "$src" -name '*.h' -newer "$object")" ]; then
        "${cxx[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$src/$file" -o "$object"
    fi
    objects+=("$object")
done

results="$out/results.txt"
: > "$results"
status=0
for target in "${targets[@]}"; do
    binary="$out/bin/${target}_fuzz"
    mkdir -p "$out/bin" "$out/corpus/$target" "$out/findings/$target" "tests/fuzz/corpus/$target"
    "${cxx[@]}" -fsanitize=fuzzer,address,undefined "$src/tests/fuzz/${target}_fuzz.cpp" \
        "${objects[@]}" -o "$binary"

    log="$out/$target.log"
    regressions="tests/fuzz/regressions/$target"
    if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
        if ! "$binary" "$regressions"/* >"$out/$target.regressions.log" 2>&1; then
            echo "fuzz: $target fails a kept regression case, see $out/$target.regressions.log"
            status=1
        fi
    fi
    before=$(find "$out/findings/$target" -type f | wc -l)
    echo "fuzz: $target for ${seconds}s"
    set +e
    "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=512 \
        -print_final_stats=1 -artifact_prefix="$out/findings/$target/" \
        "$out/corpus/$target" "tests/fuzz/corpus/$target" >"$log" 2>&1
    rc=$?
    set -e
    after=$(find "$out/findings/$target" -type f | wc -l)
    findings=$((after - before))
    [ $rc -ne 0 ] && [ $findings -eq 0 ] && findings=1
    [ $findings -ne 0 ] && status=1
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    corpus=$(find "$out/corpus/$target" "tests/fuzz/corpus/$target" -type f | wc -l)
    printf '%s %s %s %s %s %s %s\n' "$target" "${runs:--}" "${rate:--}" "${cov:--}" "${ft:--}" \
        "$corpus" "$findings" >>"$results"
done

echo
printf '%-16s %12s %9s %6s %7s %8s %9s\n' target runs exec/s cov features corpus findings
while read -r target runs rate cov ft corpus findings; do
    printf '%-16s %12s %9s %6s %7s %8s %9s\n' "$target" "$runs" "$rate" "$cov" "$ft" "$corpus" \
        "$findings"
done <"$results"
[ $status -eq 0 ] || echo "fuzz: findings or failures: logs and inputs in $out"
exit $status
