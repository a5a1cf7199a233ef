#!/usr/bin/env bash
# Builds and runs every benchmark program (bench/<area>/, kavel_<area>_bench)
# and prints each figure next to its target and, where the same run measured
# a plain read or copy of the same bytes, the ratio to it.
#
#   scripts/bench.sh [BUILD_FOLDER] [extra benchmark arguments...]
#
# The build folder defaults to build/ (RelWithDebInfo, as scripts/build.sh
# makes it). The raw results are kept as JSON in BUILD_FOLDER/bench-results/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVEL_WERROR=ON \
    -DKAVEL_BUILD_BENCHMARKS=ON >/dev/null
mapfile -t programs < <(cmake --build "$build" --target help | sed -n 's/^\.\.\. \(kavel_[a-z_]*_bench\)$/\1/p')
if ((${#programs[@]} == 0)); then
    echo "no benchmark programs found" >&2
    exit 1
fi
cmake --build "$build" --target "${programs[@]}" -j"$(nproc)" >/dev/null

results="$build/bench-results"
mkdir -p "$results"
export QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96

# Targets in milliseconds for figures whose program does not state one as a
# "target_ms" counter (the budgets of bench/preview).
fallback_target() {
    case "$1" in
        Refresh/elements:10000/*) echo 100 ;;
        Refresh/elements:99/*) echo 5 ;;
        KeyColour) echo 5 ;;
        *) echo "" ;;
    esac
}

# Figure -> the plain read or copy of the same bytes it is measured against.
baseline_of() {
    case "$1" in
        BM_OpenToFirstRefresh*) echo "Baseline_PlainReadOfDocumentFiles" ;;
        KeyColour*) echo "Baseline_CopySurface" ;;
        BM_ReadMenuFileOfAMillionRecords*) echo "BM_PlainCopyOfTheSameBytes" ;;
        BM_SaveStringDatabase*) echo "Baseline_PlainWriteOfTheSameBytes" ;;
        BM_TextsDump*) echo "Baseline_PlainReadOfTheStringDatabase" ;;
        BM_TextsBuildCsv*) echo "Baseline_PlainReadOfTheCsvDump" ;;
        BM_TextsBuildJson*) echo "Baseline_PlainReadOfTheJsonDump" ;;
        *) echo "" ;;
    esac
}

status=0
for program in "${programs[@]}"; do
    binary="$(find "$build/bench" -type f -name "$program" -perm -u+x | head -n 1)"
    out="$results/$program.json"
    echo "== $program"
    if ! "$binary" --benchmark_out="$out" --benchmark_out_format=json "$@" >"$results/$program.txt" 2>&1; then
        echo "!! $program failed; see $results/$program.txt"
        status=1
        continue
    fi
    # name, time, unit, target_ms, every other counter as "key=value".
    jq -r '.benchmarks[] | select(.run_type != "aggregate") |
        [.name, (.real_time | tostring), .time_unit, ((.target_ms // .target_ms_for_both // "-") | tostring),
         ([to_entries[] | select(.key | test("_MB$|_target_MB$|^target_ratio$")) | "\(.key)=\(.value * 10 | round / 10)"] | join(" "))]
        | @tsv' "$out" >"$results/$program.tsv"
    printf '%-58s %12s %12s %s\n' "figure" "measured" "target" "ratio to a plain read/copy of the same bytes"
    while IFS=$'\t' read -r name time unit target extra; do
        [[ "$name" == Baseline_* || "$name" == BM_PlainCopyOfTheSameBytes* ]] && kind=baseline || kind=figure
        ms="$(awk -v t="$time" -v u="$unit" 'BEGIN { f = (u == "ns") ? 1e-6 : (u == "us") ? 1e-3 : (u == "s") ? 1e3 : 1; printf "%.3f", t * f }')"
        # "-" stands for no target: an empty field would let read run the next one into it.
        [[ "$target" == "-" ]] && target=""
        [[ -z "$target" ]] && target="$(fallback_target "$name")"
        ratio=""
        base_ms=""
        base="$(baseline_of "$name")"
        if [[ -n "$base" ]]; then
            base_ms="$(awk -F'\t' -v b="$base" '$1 ~ "^"b { f = ($3 == "ns") ? 1e-6 : ($3 == "us") ? 1e-3 : ($3 == "s") ? 1e3 : 1; printf "%.3f", $2 * f; exit }' "$results/$program.tsv")"
            if [[ -n "$base_ms" ]]; then
                ratio="$(awk -v a="$ms" -v b="$base_ms" 'BEGIN { printf "%.1fx %s (%.2f ms)", a / b, "'"$base"'", b }')"
            fi
        fi
        verdict=""
        # A figure whose target is a ratio to its plain read or write.
        ratio_target="$(sed -n 's/.*\btarget_ratio=\([0-9.]*\).*/\1/p' <<<"$extra")"
        if [[ -n "$ratio_target" && -n "${base_ms:-}" && -n "$ratio" ]]; then
            verdict="$(awk -v a="$ms" -v b="$base_ms" -v t="$ratio_target" 'BEGIN { print (a <= t * b) ? "ok" : "OVER" }')"
            target="${ratio_target}x"
        fi
        if [[ -n "$target" && "$kind" == figure && -z "$ratio_target" ]]; then
            verdict="$(awk -v a="$ms" -v t="$target" 'BEGIN { print (a <= t) ? "ok" : "OVER" }')"
            target="$target ms"
        fi
        # A memory figure next to its own target: added_MB against added_target_MB.
        mb="$(sed -n 's/.*\badded_MB=\([-0-9.]*\).*/\1/p' <<<"$extra")"
        mb_target="$(sed -n 's/.*\badded_target_MB=\([-0-9.]*\).*/\1/p' <<<"$extra")"
        if [[ -n "$mb" && -n "$mb_target" ]] && awk -v a="$mb" -v t="$mb_target" 'BEGIN { exit !(a > t) }'; then
            verdict="OVER"
        fi
        [[ "$kind" == baseline ]] && target="(baseline)"
        printf '%-58s %9.2f ms %12s %-4s %s %s\n' "$name" "$ms" "$target" "$verdict" "$ratio" "$extra"
    done <"$results/$program.tsv"
done
exit "$status"
