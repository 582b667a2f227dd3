#!/usr/bin/env bash
# Starts the program under a virtual X server, with its skin and without, and saves a
# screenshot of the screen for each: with-skin.png and without-skin.png on a first start,
# with-skin-restored.png with stored long paths, "Blend Top" and the folder of the original
# file (so the folder group is disabled); with-preview.png with the sample pair and the
# preview open beside the window, on a screen wide enough for both. They go into the folder
# given as $1 (default: <build folder>/screenshots). Each run has a throwaway home folder and
# settings store, so the user's own settings are left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
out=$(realpath -m "${1:-$build_dir/screenshots}")
scripts/install-deps.sh --with-tools
[ -x "$build_dir/src/vantelle" ] || BUILD_DIR=$build_dir scripts/build.sh
mkdir -p "$out"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Starts a virtual X server with the given screen and makes it the display. The server picks a
# free display and writes its number to the descriptor it is given.
start_server() {
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$work/display-$1" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$work/display-$1" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$work/display-$1")"
}
start_server 800x600x24

for look in with-skin without-skin with-skin-restored with-preview; do
  # The program folder is the executable's, so each look gets its own copy with the data.
  program="$work/$look/program"
  mkdir -p "$program" "$work/$look/home/Desktop"
  cp "$build_dir/src/vantelle" "$program/"
  cp -r data/. "$program/"
  [ "$look" = without-skin ] && rm -rf "$program/x"
  if [ "$look" = with-skin-restored ]; then
    mkdir -p "$work/$look/home/.config/Orlenby"
    cat >"$work/$look/home/.config/Orlenby/Vantelle.ini" <<'INI'
[Vantelle]
Image%201="/home/someone/Pictures/Holidays 2024/Coast at dusk, seen from the lighthouse.jpg"
Image%202=/home/someone/Pictures/Holidays 2024/Coast at dawn.jpg
Option=3
Option5=False
Option6=True
Text4=/home/someone/Pictures/Blended results/
INI
  fi
  if [ "$look" = with-preview ]; then
    # The preview goes right of the centred window, so the screen is wider than the others.
    start_server 1600x600x24
    mkdir -p "$work/$look/home/.config/Orlenby"
    cat >"$work/$look/home/.config/Orlenby/Vantelle.ini" <<INI
[Vantelle]
Image%201=$program/Samples/sample1.jpg
Image%202=$program/Samples/sample2.jpg
Option=1
Preview=True
INI
  fi

  HOME="$work/$look/home" XDG_CONFIG_HOME="$work/$look/home/.config" \
    QT_QPA_PLATFORM=xcb "$program/vantelle" &
  app=$!
  pids+=("$app")
  sleep 3
  import -window root "$out/$look.png"
  kill "$app"
  wait "$app" 2>/dev/null || true
done
echo "Screenshots in $out"
