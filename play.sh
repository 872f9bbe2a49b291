#!/usr/bin/env bash
# Installs what is missing, builds, and starts Skyhog. Usage: ./play.sh [width height]
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build="${SKYHOG_BUILD_DIR:-$root/build}"
# The game finds its data at ../../Skyhog/ from its working directory.
cd "$build/run/game"
set +e
"$build/app/skyhog" "$@"
exit $?
