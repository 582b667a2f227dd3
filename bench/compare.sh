#!/usr/bin/env bash
# Times vantelle-blend against the same blend done by ImageMagick and by libvips:
#   bench/compare.sh [RUNS]        (default 11 runs of each tool on each pair)
# The inputs are made here, once, and kept in $BENCH_DIR (default build/bench-inputs): a pair of
# 24 MP camera-like JPEGs, a 12 MP pair, a 1024 x 768 pair and a GIF + BMP pair. Each round
# runs the three tools one after the other, so a slow spell of the machine hits all of them.
# Printed per pair and tool: the median wall time of the whole job (every process it starts),
# the largest peak memory of any of its processes, and the times relative to libvips.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-11}
build_dir=${BUILD_DIR:-build}
blend=${VANTELLE_BLEND:-$build_dir/src/vantelle-blend}
inputs=${BENCH_DIR:-$build_dir/bench-inputs}
# Debian's ImageMagick 6 binary, so that no wrapper script of the same name is timed too.
convert=$(command -v convert-im6.q16 || command -v convert || true)

missing=()
[ -x "$blend" ] || missing+=("$blend (build it: scripts/build.sh)")
[ -n "$convert" ] || missing+=("convert (Debian package imagemagick)")
command -v vips >/dev/null || missing+=("vips (Debian package libvips-tools)")
[ -x /usr/bin/time ] || missing+=("/usr/bin/time (Debian package time)")
if [ ${#missing[@]} -gt 0 ]; then
  printf 'compare.sh: missing %s\n' "${missing[@]}" >&2
  echo "compare.sh: scripts/install-deps.sh --with-tools installs the tools" >&2
  exit 1
fi

# --- inputs ------------------------------------------------------------------------------------

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
echo "Making the inputs in $inputs (once)..." >&2
photo "$inputs/24mp-1.jpg" 6000x4000 1 -sampling-factor 2x2 -quality 92
photo "$inputs/24mp-2.jpg" 6000x4000 2 -sampling-factor 2x2 -quality 92
photo "$inputs/12mp-1.jpg" 4000x3000 3 -sampling-factor 2x2 -quality 92
photo "$inputs/12mp-2.jpg" 4000x3000 4 -sampling-factor 2x2 -quality 92
photo "$inputs/1024-1.jpg" 1024x768 5 -sampling-factor 2x2 -quality 92
photo "$inputs/1024-2.jpg" 1024x768 6 -sampling-factor 2x2 -quality 92
photo "$inputs/picture.gif" 800x600 7 -colors 256
photo "$inputs/scan.bmp" 2480x1754 8 -type TrueColor

pairs=("24 MP JPEG:24mp-1.jpg:24mp-2.jpg" "12 MP JPEG:12mp-1.jpg:12mp-2.jpg"
       "1024x768 JPEG:1024-1.jpg:1024-2.jpg" "GIF + BMP:picture.gif:scan.bmp")

# --- the three jobs: a left-side band from 0, written as JPEG at quality 100 -------------------

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs a command under GNU time, adding its peak memory (KiB) to the list in $work/peaks.
measured() {
  /usr/bin/time -f %M -a -o "$work/peaks" "$@" >/dev/null
}

job_vantelle() {
  measured "$blend" "$1" "$2" "$work/vantelle.jpg"
}

job_imagemagick() {
  measured "$convert" -define jpeg:size=1458x850 \( "$1" -resize '729x425!' \) \( "$2" -resize '729x425!' \) \
    \( -size 729x425 -define gradient:direction=East gradient:black-white \) -composite \
    -sampling-factor 1x1 -quality 100 "$work/imagemagick.jpg"
}

job_libvips() {
  measured vips thumbnail "$1" "$work/a.v" 729 --height 425 --size force
  measured vips thumbnail "$2" "$work/b.v" 729 --height 425 --size force
  measured vips xyz "$work/xy.v" 729 425
  measured vips extract_band "$work/xy.v" "$work/x.v" 0
  # 0 at the left edge to 255 at the right: how much of picture 2 shows.
  measured vips linear "$work/x.v" "$work/ramp.v" "$(awk 'BEGIN { printf "%.6f", 255 / 728 }')" 0 --uchar
  measured vips ifthenelse "$work/ramp.v" "$work/b.v" "$work/a.v" "$work/libvips.jpg[Q=100]" --blend
}

# Runs one job; prints its wall time in milliseconds and its peak memory in KiB.
timed() {
  : >"$work/peaks"
  local start=$EPOCHREALTIME
  "$@"
  local end=$EPOCHREALTIME
  local ms
  ms=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f", (e - s) * 1000 }')
  echo "$ms $(sort -n "$work/peaks" | tail -1)"
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

tools=(vantelle imagemagick libvips)
declare -A names=([vantelle]="vantelle-blend" [imagemagick]="ImageMagick" [libvips]="libvips")

printf '\n%d runs each, alternating; medians of the whole job.\n\n' "$runs"
printf '%-15s %-15s %10s %10s %12s\n' "pair" "tool" "median ms" "peak MiB" "time/libvips"
for pair in "${pairs[@]}"; do
  IFS=: read -r label first second <<<"$pair"
  declare -A times=() peaks=()
  for tool in "${tools[@]}"; do times[$tool]=""; peaks[$tool]=0; done
  # One unmeasured round warms the file cache for every tool alike.
  for tool in "${tools[@]}"; do "job_$tool" "$inputs/$first" "$inputs/$second"; done
  for ((run = 0; run < runs; ++run)); do
    for tool in "${tools[@]}"; do
      read -r ms kib < <(timed "job_$tool" "$inputs/$first" "$inputs/$second")
      times[$tool]+="$ms"$'\n'
      [ "$kib" -gt "${peaks[$tool]}" ] && peaks[$tool]=$kib
    done
  done
  declare -A medians=()
  for tool in "${tools[@]}"; do medians[$tool]=$(printf '%s' "${times[$tool]}" | median); done
  for tool in "${tools[@]}"; do
    printf '%-15s %-15s %10s %10.1f %12.2f\n' "$label" "${names[$tool]}" "${medians[$tool]}" \
      "$(awk -v k="${peaks[$tool]}" 'BEGIN { print k / 1024 }')" \
      "$(awk -v a="${medians[$tool]}" -v b="${medians[libvips]}" 'BEGIN { print a / b }')"
    label=""
  done
done
