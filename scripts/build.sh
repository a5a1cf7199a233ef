#!/usr/bin/env bash
# Installs the packages that are missing, configures and builds into the
# folder given (default: build). Extra arguments go to CMake's configure step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="${1:-$root/build}"
shift || true
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVEL_WERROR=ON "$@"
cmake --build "$build" -j"$(nproc)"
