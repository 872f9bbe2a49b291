#!/usr/bin/env bash
# Installs the Debian packages Skyhog needs to build and run; with --tests,
# also what the test suite alone uses.
# Does nothing when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libglm-dev libassimp-dev libfreeimage-dev
  libfreetype-dev libopenal-dev libopenal1 libasound2 libsndfile1-dev
  libgtest-dev fonts-liberation2
  xvfb xauth libgl1-mesa-dri mesa-utils xdotool imagemagick
)
# The tests also check the Debian package, its desktop entry and its AppStream
# listing.
[ "${1:-}" = "--tests" ] && packages+=(lintian desktop-file-utils appstream)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}"; exit 1; }
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
