#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as $BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTELLE_WERROR="$werror" "$@"
cmake --build "$build_dir"
