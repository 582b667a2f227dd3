#!/usr/bin/env bash
# Builds the picture-loading fuzzer with clang and runs it for a while:
#   fuzz/run.sh [SECONDS]    (default 600)
# The corpus it grows stays in build-fuzz/corpus, so a second run goes on where the first
# stopped; inputs that crash land in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
build=${FUZZ_BUILD_DIR:-build-fuzz}

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"
mkdir -p "$build/corpus" "$build/seeds" "$build/findings"
"$build/write_seed_corpus" "$build/seeds"

export QT_QPA_PLATFORM=offscreen
exec "$build/fuzz_picture_decoder" "$build/corpus" "$build/seeds" \
  -max_total_time="$seconds" -timeout=30 -rss_limit_mb=3072 -max_len=65536 \
  -dict=fuzz/picture.dict -artifact_prefix="$build/findings/" -print_final_stats=1
