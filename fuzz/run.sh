#!/usr/bin/env bash
# Builds the picture-loading fuzzer with clang and runs it for a while:
#   fuzz/run.sh [SECONDS]    (default 600)
# The corpus it grows stays in build-fuzz/corpus, so a second run goes on where the first
# stopped; inputs that crash land in build-fuzz/findings/. Inputs reach FUZZ_MAX_LEN bytes
# (default 8 MiB): faults such as a counter that overflows after millions of run-length codes
# need files of megabytes, and the seeds include such files.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
build=${FUZZ_BUILD_DIR:-build-fuzz}
max_len=${FUZZ_MAX_LEN:-8388608}

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"
mkdir -p "$build/corpus" "$build/seeds" "$build/findings"
"$build/write_seed_corpus" "$build/seeds"

export QT_QPA_PLATFORM=offscreen
exec "$build/fuzz_picture_decoder" "$build/corpus" "$build/seeds" \
  -max_total_time="$seconds" -timeout=30 -rss_limit_mb=3072 -max_len="$max_len" \
  -dict=fuzz/picture.dict -artifact_prefix="$build/findings/" -print_final_stats=1
