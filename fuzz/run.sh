#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time on
# a scratch copy of its committed corpus, so that nothing is written into the
# repository. Inputs that fail are kept in the scratch folder's artifacts/.
#
#   fuzz/run.sh [SECONDS_EACH] [TARGET...]
#
# Environment: KAVEL_FUZZ_BUILD (build folder, default build-fuzz),
# KAVEL_FUZZ_WORK (scratch folder, default a new temporary one),
# KAVEL_FUZZ_JOBS (parallel jobs per target, default 1),
# KAVEL_FUZZ_RUNS (stop a target after this many executions, default none).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(menu_file text_db text_dump recovery_copy clipboard_text line_reader language_file
             skin_file number_text
             picture_bmp picture_ico picture_jpeg picture_wmf picture_emf)
fi
build="${KAVEL_FUZZ_BUILD:-$root/build-fuzz}"
work="${KAVEL_FUZZ_WORK:-$(mktemp -d)}"
jobs="${KAVEL_FUZZ_JOBS:-1}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DKAVEL_BUILD_FUZZERS=ON \
    -DKAVEL_BUILD_TESTS=OFF -DKAVEL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target kavel_fuzzers -j"$(nproc)" >/dev/null

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan.supp:print_suppressions=0}"
failed=0
for target in "${targets[@]}"; do
    corpus="$work/corpus/$target"
    artifacts="$work/artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    cp -n "$root/fuzz/corpus/$target"/* "$corpus"/ 2>/dev/null || true
    # Inputs that once failed are run first, under the same limits.
    cp -n "$root/fuzz/regressions/$target"/* "$corpus"/ 2>/dev/null || true
    extra=()
    [[ -n "${KAVEL_FUZZ_RUNS:-}" ]] && extra+=(-runs="$KAVEL_FUZZ_RUNS")
    if ((jobs > 1)); then
        extra+=(-jobs="$jobs" -workers="$jobs")
    fi
    echo "== $target: ${seconds}s, corpus $corpus"
    if ! (cd "$artifacts" && "$build/fuzz/kavel_fuzz_$target" "$corpus" \
            -max_total_time="$seconds" -timeout=5 -rss_limit_mb=4096 -malloc_limit_mb=2048 -detect_leaks=1 \
            -print_final_stats=1 -artifact_prefix="$artifacts/" "${extra[@]}" \
            >"$work/$target.log" 2>&1); then
        echo "!! $target failed; see $work/$target.log and $artifacts"
        tail -n 40 "$work/$target.log"
        failed=1
    fi
    grep -E "stat::number_of_executed_units|stat::average_exec_per_sec" "$work/$target.log" || true
done
exit "$failed"
