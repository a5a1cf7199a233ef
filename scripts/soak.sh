#!/usr/bin/env bash
# Long random editing runs of the window against a model of the editing
# rules (tests/app/window_soak_test.cpp), seed after seed, for as long as
# asked. Any difference is printed with its seed and step; the same seed
# replays the same steps.
#
#   scripts/soak.sh SECONDS [SEED]        # from SEED on, or from a new seed
#
# Environment: KAVEL_SOAK_BUILD (build folder, default build/),
# KAVEL_SOAK_STEPS (steps of each seed, default 5000; a difference found at
# the end of a seed's run replays with the same number). For a run
# under AddressSanitizer and UndefinedBehaviorSanitizer, build one first:
#   scripts/build.sh build-asan -DKAVEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DKAVEL_BUILD_BENCHMARKS=OFF
#   KAVEL_SOAK_BUILD=build-asan scripts/soak.sh 3600
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if (($# < 1)); then
    sed -n '2,15p' "$0" >&2
    exit 2
fi
build="${KAVEL_SOAK_BUILD:-$root/build}"
[[ -d "$build" ]] || "$root/scripts/build.sh" "$build"
cmake --build "$build" --target kavel_window_tests -j"$(nproc)" >/dev/null
export KAVEL_SOAK_SECONDS="$1"
[[ $# -ge 2 ]] && export KAVEL_SOAK_SEED="$2"
export QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
exec "$build/tests/app/kavel_window_tests" --gtest_filter='WindowSoak.AsLongAsAsked'
