#!/usr/bin/env bash
# Makes the benchmarks' pictures in FOLDER, each once (a file already there is kept):
#   bench/make_inputs.sh FOLDER
# A pair of 24 MP camera-like JPEGs, the same pair as PNGs, a 100 MP pair, a 12 MP pair, a
# 1024 x 768 pair and a GIF + BMP pair. Needs ImageMagick and the vips command (Debian
# imagemagick and libvips-tools, installed by scripts/install-deps.sh --with-tools).
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: bench/make_inputs.sh FOLDER" >&2; exit 2; }
inputs=$1
# Debian's ImageMagick 6 binary, so that no wrapper script of the same name runs instead.
convert=$(command -v convert-im6.q16 || command -v convert || true)
[ -n "$convert" ] || { echo "make_inputs.sh: missing convert (Debian package imagemagick)" >&2; exit 1; }
command -v vips >/dev/null || { echo "make_inputs.sh: missing vips (Debian package libvips-tools)" >&2; exit 1; }

mkdir -p "$inputs"
# A photo-like picture: smooth fractal shapes, enlarged, with sensor-like noise, saved as a
# camera saves it (4:2:0 chroma). $1 output, $2 size, $3 seed, then extra output options.
photo() {
  local out=$1 size=$2 seed=$3
  shift 3
  [ -s "$out" ] && return
  local w=${size%x*} h=${size#*x}
  "$convert" -seed "$seed" -size "$((w / 4))x$((h / 4))" plasma:fractal -resize "${size}!" \
    -attenuate 0.3 +noise Gaussian "$@" "$out"
}
# $1 output, made with the vips command from $2 and then its arguments, once.
derived() {
  local out=$1
  shift
  [ -s "$out" ] || vips "$@"
}
echo "Making the inputs in $inputs (once)..." >&2
photo "$inputs/24mp-1.jpg" 6000x4000 1 -sampling-factor 2x2 -quality 92
photo "$inputs/24mp-2.jpg" 6000x4000 2 -sampling-factor 2x2 -quality 92
photo "$inputs/12mp-1.jpg" 4000x3000 3 -sampling-factor 2x2 -quality 92
photo "$inputs/12mp-2.jpg" 4000x3000 4 -sampling-factor 2x2 -quality 92
photo "$inputs/1024-1.jpg" 1024x768 5 -sampling-factor 2x2 -quality 92
photo "$inputs/1024-2.jpg" 1024x768 6 -sampling-factor 2x2 -quality 92
photo "$inputs/picture.gif" 800x600 7 -colors 256
photo "$inputs/scan.bmp" 2480x1754 8 -type TrueColor
# The 24 MP pair as PNGs, and enlarged by 2.04 to 12240 x 8160 (100 MP), saved as a camera would.
derived "$inputs/24mp-1.png" copy "$inputs/24mp-1.jpg" "$inputs/24mp-1.png"
derived "$inputs/24mp-2.png" copy "$inputs/24mp-2.jpg" "$inputs/24mp-2.png"
derived "$inputs/100mp-1.jpg" resize "$inputs/24mp-1.jpg" "$inputs/100mp-1.jpg[Q=92,subsample-mode=on]" 2.04
derived "$inputs/100mp-2.jpg" resize "$inputs/24mp-2.jpg" "$inputs/100mp-2.jpg[Q=92,subsample-mode=on]" 2.04
