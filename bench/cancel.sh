#!/usr/bin/env bash
# How soon a cancelled export and a cancelled window job return, and what they leave behind:
#   bench/cancel.sh [MOMENTS]        (milliseconds after the start, default 20,100,250,500)
# Runs build/bench/bench_cancel_latency on the 24 MP JPEG pair that bench/make_inputs.sh makes
# (once) in $BENCH_DIR (default build/bench-inputs): the export at picture #1's size as JPEG and
# as PNG, and the window's job, each stopped at every moment and half-way through its writing
# (the exports) or its loading (the window's job), into an empty folder and over an earlier file
# of the output's name. Printed per run: when the stop flag was set, the time from then to the
# job's return (the target is 100 ms), how the job ended, whether the earlier file is still byte
# for byte what it was and what is new in the folder; then a pass or fail line per job. Exits
# with status 1 when a job fails its target.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build}
program=$build_dir/bench/bench_cancel_latency
inputs=${BENCH_DIR:-$build_dir/bench-inputs}
[ -x "$program" ] || { echo "cancel.sh: missing $program (build it: scripts/build.sh)" >&2; exit 1; }

bench/make_inputs.sh "$inputs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '\nLoad average before: %s\n\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
status=0
"$program" ${1:+--moments "$1"} "$inputs/24mp-1.jpg" "$inputs/24mp-2.jpg" "$work" || status=$?
printf 'Load average after: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
exit "$status"
