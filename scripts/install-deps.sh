#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; only the
# missing ones are fetched. Runs as root, or through sudo for an ordinary user.
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build g++ pkg-config
  # libraries
  qt6-base-dev libturbojpeg0-dev libjpeg62-turbo-dev libpng-dev
  # tests and benchmarks
  libgtest-dev libbenchmark-dev
  # Arial's metric-compatible stand-in, so no caption is clipped
  fonts-liberation
)
if [ "${1:-}" = "--with-tools" ]; then
  # screenshots, benchmarks against other tools, fuzzing
  packages+=(xvfb xauth x11-apps imagemagick libvips-tools time clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
