#!/usr/bin/env bash
# Measures vantelle-blend against the same blend done with libvips's C interface in one process
# (bench_vips_blend, the yardstick), with the libvips command-line pipeline and with ImageMagick,
# and its export at picture #1's size against the same export done with libvips's C interface
# (bench_vips_export):
#   bench/compare.sh [--export-only] [RUNS]        (default 11 rounds)
# The inputs are made once by bench/make_inputs.sh and kept in $BENCH_DIR (default
# build/bench-inputs): a pair of 24 MP camera-like JPEGs, the same pair as PNGs, a 100 MP pair, a
# 12 MP pair, a 1024 x 768 pair and a GIF + BMP pair. Each round runs every tool one after the
# other, so a slow spell of the machine hits all of them. Printed per pair and tool: the medians
# over the rounds of the wall time of the whole job, of its CPU time (user + system, summed over
# every process it starts) and of its peak memory (the largest process's), each also as a ratio
# to libvips C. The export's targets then get a pass or fail line each, and the PSNR of one
# export against the other shows that both made the same picture. Last, bench/quality.py
# measures the quality of both libraries' stretch, and every hostile file of the tests' corpus
# is timed through vantelle-blend. --export-only runs the export's rows, targets and PSNR alone.
# With BASELINE_BLEND naming the vantelle-blend of an earlier build, that one runs in the same
# rounds too, so that a change is measured before and after under the same load, and the
# window's job gets a pass or fail line per pair for not being slower or larger than before.
set -euo pipefail
cd "$(dirname "$0")/.."

export_only=false
if [ "${1:-}" = --export-only ]; then
  export_only=true
  shift
fi
runs=${1:-11}
build_dir=${BUILD_DIR:-build}
blend=${VANTELLE_BLEND:-$build_dir/src/vantelle-blend}
vips_blend=${VIPS_BLEND:-$build_dir/bench/bench_vips_blend}
vips_export=${VIPS_EXPORT:-$build_dir/bench/bench_vips_export}
seed_writer=$build_dir/bench/write_seed_corpus
inputs=${BENCH_DIR:-$build_dir/bench-inputs}
# Debian's ImageMagick 6 binary, so that no wrapper script of the same name is timed too.
convert=$(command -v convert-im6.q16 || command -v convert || true)

missing=()
[ -x "$blend" ] || missing+=("$blend (build it: scripts/build.sh)")
[ -x "$vips_blend" ] || missing+=("$vips_blend (built with libvips's development files, Debian package libvips-dev)")
[ -x "$vips_export" ] || missing+=("$vips_export (built with libvips's development files, Debian package libvips-dev)")
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
if [ -n "${BASELINE_BLEND:-}" ] && [ ! -x "$BASELINE_BLEND" ]; then
  echo "compare.sh: BASELINE_BLEND $BASELINE_BLEND is not a program" >&2
  exit 1
fi

bench/make_inputs.sh "$inputs"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- the jobs: a left-side band from 0, written as JPEG at quality 100 -------------------------

# Runs a command under GNU time, adding a line "user-seconds system-seconds peak-KiB exit-status"
# to $work/usage; a failure is counted, not fatal, and its message kept in $work/messages.
measured() {
  /usr/bin/time -f '%U %S %M %x' -a -o "$work/usage" "$@" >/dev/null 2>>"$work/messages" || true
}

# The window's job, at 729 x 425.
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

# The export at picture #1's size. $3, when given, is the output's name in $work.
job_export_vantelle() {
  measured "$blend" --size first "$1" "$2" "$work/${3:-export-vantelle.jpg}"
}

job_export_baseline() {
  measured "$BASELINE_BLEND" --size first "$1" "$2" "$work/${3:-export-baseline.jpg}"
}

job_export_vips_c() {
  measured "$vips_export" "$1" "$2" "$work/${3:-export-vips-c.jpg}"
}

# Runs one job; prints its wall time and its CPU time in milliseconds, its peak memory in KiB
# and how many of its processes failed.
timed() {
  : >"$work/usage"
  local start=$EPOCHREALTIME
  "$@"
  local end=$EPOCHREALTIME
  # GNU time adds a line of its own before a failed command's figures.
  awk -v s="$start" -v e="$end" '
    NF == 4 && $4 ~ /^[0-9]+$/ { cpu += $1 + $2; if ($3 > peak) peak = $3; failed += $4 != 0 }
    END { printf "%.1f %.0f %d %d\n", (e - s) * 1000, cpu * 1000, peak, failed }' "$work/usage"
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# $1 / $2 to two places; "-" when either is no figure.
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (a + 0 != a || b + 0 != b || b == 0) print "-"; else printf "%.2f", a / b }'
}

declare -A names=([vantelle]="vantelle-blend" [vips_c]="libvips C" [vips_cli]="libvips CLI"
                  [imagemagick]="ImageMagick" [baseline]="earlier build" [export_vantelle]="vantelle-blend"
                  [export_vips_c]="libvips C" [export_baseline]="earlier build")
# The medians of every pair and tool measured, by "pair label|tool"; "failed" when a round of
# the tool failed on the pair.
declare -A wall=() cpu=() peak=()

# Runs the jobs of the tools named after $1 (the pairs, "label:first:second" each, in the array
# it names) for RUNS rounds, and prints a row per pair and tool, with ratios to the tool named
# in $2.
compare_tools() {
  local -n pairs_to_run=$1
  local reference=$2
  shift 2
  local -a tools=("$@")
  printf '%-14s %-15s %9s %9s %9s %7s %7s %7s\n' "pair" "tool" "wall ms" "CPU ms" "peak MiB" \
    "wall/C" "CPU/C" "peak/C"
  local pair label first second tool run ms cpu_ms kib failed key
  for pair in "${pairs_to_run[@]}"; do
    IFS=: read -r label first second <<<"$pair"
    local -A walls=() cpus=() peaks=() failures=()
    for tool in "${tools[@]}"; do walls[$tool]=""; cpus[$tool]=""; peaks[$tool]=""; failures[$tool]=0; done
    # One unmeasured round warms the file cache for every tool alike.
    for tool in "${tools[@]}"; do "job_$tool" "$inputs/$first" "$inputs/$second"; done
    : >"$work/messages"
    for ((run = 0; run < runs; ++run)); do
      for tool in "${tools[@]}"; do
        read -r ms cpu_ms kib failed < <(timed "job_$tool" "$inputs/$first" "$inputs/$second")
        walls[$tool]+="$ms"$'\n'
        cpus[$tool]+="$cpu_ms"$'\n'
        peaks[$tool]+="$(awk -v k="$kib" 'BEGIN { printf "%.1f", k / 1024 }')"$'\n'
        failures[$tool]=$((failures[$tool] + failed))
      done
    done
    for tool in "${tools[@]}"; do
      key="$label|$tool"
      if [ "${failures[$tool]}" -gt 0 ]; then
        wall[$key]=failed; cpu[$key]=failed; peak[$key]=failed
      else
        wall[$key]=$(printf '%s' "${walls[$tool]}" | median)
        cpu[$key]=$(printf '%s' "${cpus[$tool]}" | median)
        peak[$key]=$(printf '%s' "${peaks[$tool]}" | median)
      fi
    done
    local shown=$label
    for tool in "${tools[@]}"; do
      key="$label|$tool"
      printf '%-14s %-15s %9s %9s %9s %7s %7s %7s\n' "$shown" "${names[$tool]}" \
        "${wall[$key]}" "${cpu[$key]}" "${peak[$key]}" "$(ratio "${wall[$key]}" "${wall[$label|$reference]}")" \
        "$(ratio "${cpu[$key]}" "${cpu[$label|$reference]}")" "$(ratio "${peak[$key]}" "${peak[$label|$reference]}")"
      shown=""
    done
    for tool in "${tools[@]}"; do
      if [ "${failures[$tool]}" -gt 0 ]; then
        printf '%-14s %s failed: %s\n' "" "${names[$tool]}" "$(head -1 "$work/messages" | cut -c1-100)"
        break
      fi
    done
  done
}

# Prints "what: figure (target <= limit) PASS|FAIL"; a failed job or a missing figure fails.
target() {
  local what=$1 figure=$2 limit=$3
  local verdict
  verdict=$(awk -v f="$figure" -v l="$limit" 'BEGIN { print (f + 0 == f && f <= l) ? "PASS" : "FAIL" }')
  printf '  %-46s %9s  (target <= %s)  %s\n' "$what" "$figure" "$limit" "$verdict"
}

printf '\nLoad average before: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%d rounds, the tools alternating in each; medians, and ratios to libvips C.\n' "$runs"

window_pairs=("24 MP JPEG:24mp-1.jpg:24mp-2.jpg" "24 MP PNG:24mp-1.png:24mp-2.png"
              "100 MP JPEG:100mp-1.jpg:100mp-2.jpg" "12 MP JPEG:12mp-1.jpg:12mp-2.jpg"
              "1024x768 JPEG:1024-1.jpg:1024-2.jpg" "GIF + BMP:picture.gif:scan.bmp")
window_tools=(vantelle vips_c vips_cli imagemagick)
export_pairs=("24 MP JPEG:24mp-1.jpg:24mp-2.jpg" "100 MP JPEG:100mp-1.jpg:100mp-2.jpg")
export_tools=(export_vantelle export_vips_c)
if [ -n "${BASELINE_BLEND:-}" ]; then
  window_tools+=(baseline)
  export_tools+=(export_baseline)
fi

if ! $export_only; then
  printf '\nThe window'"'"'s job, 729 x 425:\n\n'
  compare_tools window_pairs vips_c "${window_tools[@]}"
fi
printf '\nThe export at picture #1'"'"'s size (--size first), JPEG quality 100:\n\n'
compare_tools export_pairs export_vips_c "${export_tools[@]}"
printf '\nLoad average after: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"

# --- targets -----------------------------------------------------------------------------------

printf '\nTargets of the export (vantelle-blend --size first against libvips C):\n'
target "24 MP JPEG: wall / libvips C" "$(ratio "${wall[24 MP JPEG|export_vantelle]}" "${wall[24 MP JPEG|export_vips_c]}")" 0.9
target "24 MP JPEG: CPU / libvips C" "$(ratio "${cpu[24 MP JPEG|export_vantelle]}" "${cpu[24 MP JPEG|export_vips_c]}")" 1.0
target "24 MP JPEG: peak MiB" "${peak[24 MP JPEG|export_vantelle]}" 40
target "100 MP JPEG: peak MiB" "${peak[100 MP JPEG|export_vantelle]}" 48
if ! $export_only; then
  printf '\nThe window'"'"'s job against the earlier build (not worse: wall and CPU within 10%%, peak within 5%%):\n'
  if [ -n "${BASELINE_BLEND:-}" ]; then
    for label in "24 MP JPEG" "1024x768 JPEG" "24 MP PNG"; do
      target "$label: wall / earlier" "$(ratio "${wall[$label|vantelle]}" "${wall[$label|baseline]}")" 1.10
      target "$label: CPU / earlier" "$(ratio "${cpu[$label|vantelle]}" "${cpu[$label|baseline]}")" 1.10
      target "$label: peak / earlier" "$(ratio "${peak[$label|vantelle]}" "${peak[$label|baseline]}")" 1.05
    done
  else
    printf '  not checked: BASELINE_BLEND names no earlier vantelle-blend\n'
  fi
fi

# --- the same picture? -------------------------------------------------------------------------

# Each picture blended with itself leaves decoding, resampling and encoding, where both exports
# must agree; the pair adds the ramp, which in vantelle-blend is the window's own and not linear.
printf '\nvantelle-blend --size first against libvips C, the PSNR of one export against the other:\n'
for pair in "${export_pairs[@]}"; do
  IFS=: read -r label first second <<<"$pair"
  for case in "itself:$first:$first" "pair:$first:$second"; do
    IFS=: read -r kind a b <<<"$case"
    : >"$work/messages"
    read -r _ _ _ vantelle_failed < <(timed job_export_vantelle "$inputs/$a" "$inputs/$b" psnr-vantelle.jpg)
    read -r _ _ _ vips_failed < <(timed job_export_vips_c "$inputs/$a" "$inputs/$b" psnr-vips-c.jpg)
    if [ "$vantelle_failed" -gt 0 ] || [ "$vips_failed" -gt 0 ]; then
      figure="not compared, a job failed: $(head -1 "$work/messages" | cut -c1-90)"
    else
      figure=$(/usr/bin/python3 bench/psnr.py "$work/psnr-vips-c.jpg" "$work/psnr-vantelle.jpg" 2>&1 || true)
    fi
    rm -f "$work/psnr-vantelle.jpg" "$work/psnr-vips-c.jpg"
    if [ "$kind" = itself ]; then
      printf '  %-14s %-22s %s\n' "$label" "first with itself" "$figure"
    else
      printf '  %-14s %-22s %s\n' "" "the pair" "$figure"
    fi
  done
done

$export_only && exit 0

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
