#!/usr/bin/env bash
# Times vantelle-blend on pictures of extreme proportions and the other hostile classes at full
# size (lines of forty million pixels, millions of run-length codes on one row, a tiny GIF frame
# on a huge screen, arithmetic-coded JPEGs, a PNG with a huge text chunk, ...):
#   bench/extreme_proportions.sh [RUNS]        (default 3)
# Each file is blended once with a small sample picture ("alone") and once with itself ("both",
# two decoders at the same moment). Printed per file: what loading it must give, the exit status,
# and the medians over the runs of the wall time and of the peak memory, as GNU time -v measures
# them; then the first line of the message. The target: every file answered within 2 s and
# 300 MiB. VANTELLE_BLEND times another build of the program on the same files.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-3}
build_dir=${BUILD_DIR:-build}
blend=${VANTELLE_BLEND:-$build_dir/src/vantelle-blend}
writer=$build_dir/bench/write_extreme_pictures
inputs=${BENCH_DIR:-$build_dir/bench-inputs}/extreme
sample=data/Samples/sample1.jpg

missing=()
[ -x "$blend" ] || missing+=("$blend (build it: scripts/build.sh)")
[ -x "$writer" ] || missing+=("$writer (build it: scripts/build.sh)")
[ -x /usr/bin/time ] || missing+=("/usr/bin/time (Debian package time)")
if [ ${#missing[@]} -gt 0 ]; then
  printf 'extreme_proportions.sh: missing %s\n' "${missing[@]}" >&2
  exit 1
fi

mkdir -p "$inputs"
echo "Making the pictures in $inputs..." >&2
"$writer" "$inputs" >"$inputs/expected.txt"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() {
  sort -n | awk '{ v[NR] = $1 } END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Runs one blend under GNU time -v; prints "status wall-seconds peak-MiB".
measured() {
  local status=0
  /usr/bin/time -v -o "$work/usage" "$blend" "$1" "$2" "$work/result.jpg" >/dev/null 2>"$work/message" || status=$?
  awk -v status="$status" '
    /Elapsed \(wall clock\)/ { n = split($NF, t, ":"); wall = t[n] + (n > 1 ? 60 * t[n - 1] : 0) + (n > 2 ? 3600 * t[n - 2] : 0) }
    /Maximum resident set size/ { peak = $NF / 1024 }
    END { printf "%d %.2f %.1f\n", status, wall, peak }' "$work/usage"
}

printf '%-36s %-16s %4s %8s %9s %8s %9s  %s\n' "file" "must" "exit" "alone s" "alone MiB" "both s" "both MiB" "message"
while read -r name must size; do
  file=$inputs/$name
  for mode in alone both; do
    second=$sample
    [ "$mode" = both ] && second=$file
    : >"$work/walls"
    : >"$work/peaks"
    for ((run = 0; run < runs; ++run)); do
      read -r status wall peak < <(measured "$file" "$second")
      echo "$wall" >>"$work/walls"
      echo "$peak" >>"$work/peaks"
    done
    printf -v "wall_$mode" '%s' "$(median <"$work/walls")"
    printf -v "peak_$mode" '%s' "$(median <"$work/peaks")"
  done
  printf '%-36s %-16s %4s %8s %9s %8s %9s  %s\n' "$name" "$must${size:+ $size}" "$status" "$wall_alone" "$peak_alone" \
    "$wall_both" "$peak_both" "$(head -1 "$work/message" | sed "s|$inputs/||" | cut -c1-100)"
done <"$inputs/expected.txt"
