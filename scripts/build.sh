#!/usr/bin/env bash
# Configures (once) and builds Skyhog incrementally into build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${SKYHOG_BUILD_DIR:-$root/build}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
fi
cmake --build "$build" -j"$(nproc)"
