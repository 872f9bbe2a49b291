#!/usr/bin/env bash
# Builds the Debian package from an existing build: build/skyhog_<version>_<arch>.deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${SKYHOG_BUILD_DIR:-$root/build}"
cd "$build"
cpack -G DEB >/dev/null
ls "$build"/skyhog_*.deb
