#!/usr/bin/env bash
# Installs what building, testing and benchmarking Mirovex needs on Debian 12 (run as root).
# Installs nothing when everything is already there.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config
  libicu-dev icu-devtools
  qt6-base-dev libgl-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-apps imagemagick fonts-dejavu-core xdotool
  xz-utils time
  clang libclang-rt-14-dev
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
