#!/usr/bin/env bash
# Renders the export's dialogs headless, as the program shows them over its skinned window,
# into docs/screenshots/ (or the folder given as $1): export-dialog.png, "Export Blend" for a
# pair of 6000 x 4000 photos, and export-progress.png, that export under way with Cancel.
# Builds into build/ (or $BUILD_DIR) first where that is not done yet.
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=${BUILD_DIR:-build}
out=$(realpath -m "${1:-docs/screenshots}")
[ -f "$build_dir/build.ninja" ] || BUILD_DIR=$build_dir scripts/build.sh
cmake --build "$build_dir" --target export_screenshots
mkdir -p "$out"
# English texts whatever the user's language.
env LC_ALL=C.UTF-8 LANGUAGE= QT_QPA_PLATFORM=offscreen "$build_dir/docs/screenshots/export_screenshots" "$out"
