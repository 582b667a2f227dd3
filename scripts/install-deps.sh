#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; only the
# missing ones are fetched. Runs as root, or through sudo for an ordinary user.
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build g++ pkg-config
  # libraries
  qt6-base-dev libturbojpeg0-dev libjpeg62-turbo-dev libpng-dev libgif-dev libwebp-dev
  # vector code for every processor, chosen at run time (the blit's and the resampler's kernels)
  libhwy-dev
  # tests and benchmarks
  libgtest-dev libbenchmark-dev
  # Arial's metric-compatible stand-in, so no caption is clipped
  fonts-liberation
  # checks of the desktop entry (also that no picture type gets Vantelle as its default), the
  # AppStream metadata and the manual pages; dpkg-shlibdeps for the Debian package's library
  # dependencies
  desktop-file-utils xdg-utils mailcap appstream man-db groff-base dpkg-dev
  # Qt's own texts (dialog buttons, the file dialog) in the user's language
  qt6-translations-l10n
)
if [ "${1:-}" = "--with-tools" ]; then
  # screenshots (with a desktop's dark palette and the user's clicks), benchmarks against
  # other tools (and their quality, measured with Pillow and numpy), fuzzing
  packages+=(xvfb xauth x11-apps imagemagick qt6ct xdotool libvips-tools libvips-dev time clang libclang-rt-14-dev
             python3-pil python3-numpy)
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
