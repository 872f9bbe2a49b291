#!/usr/bin/env bash
# Installs what is missing, builds the game and its Debian package, and runs
# the whole test suite headless.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/install-deps.sh" --tests
"$root/scripts/build.sh" "$@"
"$root/scripts/package.sh"
build="${SKYHOG_BUILD_DIR:-$root/build}"
cd "$build"
# Software OpenGL on a virtual screen; OpenAL Soft renders into nothing unless a
# test asks for its wave writer.
export LIBGL_ALWAYS_SOFTWARE=1 ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2 --timeout 900
