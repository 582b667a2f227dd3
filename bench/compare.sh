#!/usr/bin/env bash
# Measures vantelle-blend against the same blend done with libvips's C interface in one process
# (bench_vips_blend, the yardstick), with the libvips command-line pipeline and with ImageMagick:
#   bench/compare.sh [RUNS]        (default 11 rounds)
# The inputs are made here, once, and kept in $BENCH_DIR (default build/bench-inputs): a pair of
# 24 MP camera-like JPEGs, the same pair as PNGs, a 100 MP pair, a 12 MP pair, a 1024 x 768
# pair and a GIF + BMP pair. Each round runs every tool one after the other, so a slow spell of
# the machine hits all of them. Printed per pair and tool: the medians over the rounds of the
# wall time of the whole job, of its CPU time (user + system, summed over every process it
# starts) and of its peak memory (the largest process's), each also as a ratio to libvips C.
# Then bench/quality.py measures the quality of both libraries' stretch, and every hostile file
# of the tests' corpus is timed through vantelle-blend. With BASELINE_BLEND naming the
# vantelle-blend of an earlier build, that one runs in the same rounds too, so that a change is
# measured before and after under the same load.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-11}
build_dir=${BUILD_DIR:-build}
blend=${VANTELLE_BLEND:-$build_dir/src/vantelle-blend}
vips_blend=${VIPS_BLEND:-$build_dir/bench/bench_vips_blend}
seed_writer=$build_dir/bench/write_seed_corpus
inputs=${BENCH_DIR:-$build_dir/bench-inputs}
# Debian's ImageMagick 6 binary, so that no wrapper script of the same name is timed too.
convert=$(command -v convert-im6.q16 || command -v convert || true)

missing=()
[ -x "$blend" ] || missing+=("$blend (build it: scripts/build.sh)")
[ -x "$vips_blend" ] || missing+=("$vips_blend (built with libvips's development files, Debian package libvips-dev)")
[ -x "$seed_writer" ] || missing+=("$seed_writer (build it: scripts/build.sh)")
[ -n "$convert" ] || missing+=("convert (Debian package imagemagick)")
command -v vips >/dev/null || missing+=("vips (Debian package libvips-tools)")
[ -x /usr/bin/time ] || missing+=("/usr/bin/time (Debian package time)")
/usr/bin/python3 -c 'import numpy, PIL' 2>/dev/null || missing+=("Pillow and numpy (Debian packages python3-pil python3-numpy)")
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

pairs=("24 MP JPEG:24mp-1.jpg:24mp-2.jpg" "24 MP PNG:24mp-1.png:24mp-2.png"
       "100 MP JPEG:100mp-1.jpg:100mp-2.jpg" "12 MP JPEG:12mp-1.jpg:12mp-2.jpg"
       "1024x768 JPEG:1024-1.jpg:1024-2.jpg" "GIF + BMP:picture.gif:scan.bmp")

# --- the jobs: a left-side band from 0, written as JPEG at quality 100 -------------------------

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs a command under GNU time, adding a line "user-seconds system-seconds peak-KiB" to
# $work/usage.
measured() {
  /usr/bin/time -f '%U %S %M' -a -o "$work/usage" "$@" >/dev/null
}

job_vantelle() {
  measured "$blend" "$1" "$2" "$work/vantelle.jpg"
}

job_baseline() {
  measured "$BASELINE_BLEND" "$1" "$2" "$work/baseline.jpg"
}

job_vips_c() {
  measured "$vips_blend" "$1" "$2" "$work/vips-c.jpg"
}

job_vips_cli() {
  measured vips thumbnail "$1" "$work/a.v" 729 --height 425 --size force
  measured vips thumbnail "$2" "$work/b.v" 729 --height 425 --size force
  measured vips xyz "$work/xy.v" 729 425
  measured vips extract_band "$work/xy.v" "$work/x.v" 0
  # 0 at the left edge to 255 at the right: how much of picture 2 shows.
  measured vips linear "$work/x.v" "$work/ramp.v" "$(awk 'BEGIN { printf "%.6f", 255 / 728 }')" 0 --uchar
  measured vips ifthenelse "$work/ramp.v" "$work/b.v" "$work/a.v" "$work/libvips.jpg[Q=100]" --blend
}

job_imagemagick() {
  measured "$convert" -define jpeg:size=1458x850 \( "$1" -resize '729x425!' \) \( "$2" -resize '729x425!' \) \
    \( -size 729x425 -define gradient:direction=East gradient:black-white \) -composite \
    -sampling-factor 1x1 -quality 100 "$work/imagemagick.jpg"
}

# Runs one job; prints its wall time and its CPU time in milliseconds and its peak memory in KiB.
timed() {
  : >"$work/usage"
  local start=$EPOCHREALTIME
  "$@"
  local end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" '
    { cpu += $1 + $2; if ($3 > peak) peak = $3 }
    END { printf "%.1f %.0f %d\n", (e - s) * 1000, cpu * 1000, peak }' "$work/usage"
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

tools=(vantelle vips_c vips_cli imagemagick)
declare -A names=([vantelle]="vantelle-blend" [vips_c]="libvips C" [vips_cli]="libvips CLI"
                  [imagemagick]="ImageMagick" [baseline]="earlier build")
if [ -n "${BASELINE_BLEND:-}" ]; then
  [ -x "$BASELINE_BLEND" ] || { echo "compare.sh: BASELINE_BLEND $BASELINE_BLEND is not a program" >&2; exit 1; }
  tools+=(baseline)
fi

printf '\nLoad average before: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%d rounds, the tools alternating in each; medians, and ratios to libvips C.\n\n' "$runs"
printf '%-14s %-15s %9s %9s %9s %7s %7s %7s\n' "pair" "tool" "wall ms" "CPU ms" "peak MiB" \
  "wall/C" "CPU/C" "peak/C"
for pair in "${pairs[@]}"; do
  IFS=: read -r label first second <<<"$pair"
  declare -A walls=() cpus=() peaks=()
  for tool in "${tools[@]}"; do walls[$tool]=""; cpus[$tool]=""; peaks[$tool]=""; done
  # One unmeasured round warms the file cache for every tool alike.
  for tool in "${tools[@]}"; do "job_$tool" "$inputs/$first" "$inputs/$second"; done
  for ((run = 0; run < runs; ++run)); do
    for tool in "${tools[@]}"; do
      read -r ms cpu kib < <(timed "job_$tool" "$inputs/$first" "$inputs/$second")
      walls[$tool]+="$ms"$'\n'
      cpus[$tool]+="$cpu"$'\n'
      peaks[$tool]+="$(awk -v k="$kib" 'BEGIN { printf "%.1f", k / 1024 }')"$'\n'
    done
  done
  declare -A wall=() cpu=() peak=()
  for tool in "${tools[@]}"; do
    wall[$tool]=$(printf '%s' "${walls[$tool]}" | median)
    cpu[$tool]=$(printf '%s' "${cpus[$tool]}" | median)
    peak[$tool]=$(printf '%s' "${peaks[$tool]}" | median)
  done
  for tool in "${tools[@]}"; do
    printf '%-14s %-15s %9s %9s %9s %7s %7s %7s\n' "$label" "${names[$tool]}" \
      "${wall[$tool]}" "${cpu[$tool]}" "${peak[$tool]}" "$(ratio "${wall[$tool]}" "${wall[vips_c]}")" \
      "$(ratio "${cpu[$tool]}" "${cpu[vips_c]}")" "$(ratio "${peak[$tool]}" "${peak[vips_c]}")"
    label=""
  done
done
printf '\nLoad average after: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"

# --- quality -----------------------------------------------------------------------------------

/usr/bin/python3 bench/quality.py --blend "$blend" --vips-blend "$vips_blend" --inputs "$inputs" \
  "$inputs/24mp-1.jpg" "$inputs/24mp-2.jpg"

# --- hostile files -----------------------------------------------------------------------------

# Each picture of the tests' corpus of bad and unusual files is blended with itself, so that
# two decoders work on it at the same moment; a job may take at most a minute here.
corpus=$work/corpus
"$seed_writer" "$corpus"
printf '\nThe corpus of bad and unusual pictures, each blended with itself:\n\n'
printf '%-28s %5s %8s %9s  %s\n' "file" "exit" "wall s" "peak MiB" "message"
for file in "$corpus"/*; do
  start=$EPOCHREALTIME
  status=0
  /usr/bin/time -f %M -o "$work/peak" timeout 60 "$blend" "$file" "$file" "$work/hostile.jpg" \
    >/dev/null 2>"$work/message" || status=$?
  end=$EPOCHREALTIME
  printf '%-28s %5s %8s %9s  %s\n' "$(basename "$file")" "$status" \
    "$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f", e - s }')" \
    "$(awk '/^[0-9]+$/ { printf "%.1f", $1 / 1024 }' "$work/peak")" \
    "$(head -1 "$work/message" | sed "s|$corpus/||" | cut -c1-110)"
done
