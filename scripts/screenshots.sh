#!/usr/bin/env bash
# Starts the program under a virtual X server in several looks and saves a screenshot of the
# screen for each into the folder given as $1 (default: <build folder>/screenshots):
#   with-skin.png, without-skin.png         a first start, with the skin and without it
#   with-skin-restored.png                  stored long paths, "Blend Top" and the folder of
#                                           the original file (the folder group disabled)
#   without-skin-dark.png                   without the skin on a dark desktop palette
#   with-skin-dark.png, with-skin-dark-tip.png, with-skin-dark-open.png
#                                           the skin on a dark desktop: the window, the usage
#                                           tip's message box and the Open-file dialog
#   with-skin-focus-option.png, with-skin-focus-button.png, with-skin-focus-bar.png,
#   without-skin-focus-button.png, without-skin-focus-bar.png
#                                           the focus on an option, the "Help" button and
#                                           the scroll bar, moved there by Tab
#   with-skin-scale2.png                    at twice the size (QT_SCALE_FACTOR=2)
#   german.png, german-open.png             in German: the window and the Open-file dialog
#   with-preview.png                        the sample pair with the preview open beside the
#                                           window, on a screen wide enough for both
#   with-preview-scale2.png                 the same at twice the size on a 1920 x 1080 screen,
#                                           where the preview opens smaller beside the window
# The dark palette is qt6ct's "darker" colour scheme with the Fusion style, as a desktop
# would set it. Each run has a throwaway home folder and settings store, so the user's own
# settings are left alone.
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

# The main window's controls, in pixels from its top left corner at scale 1.
help_button="268 21"
picture1_button="492 71"

# shoot NAME SCREEN SKIN ACTION [VARIABLE=VALUE...]: one start of the program on an X server
# of its own with a screen of SCREEN pixels, with the skin or without it (SKIN yes or no),
# in the environment given; ACTION is what the user does before the screenshot: nothing,
# "restored" (stored settings), "preview" (the sample pair and the preview open), "click X Y" (a click at that place of the window, at scale 1)
# or "tab N" (N presses of Tab).
shoot() {
  local name=$1 screen=$2 skin=$3 action=$4
  shift 4
  local home="$work/$name/home" program="$work/$name/program"
  mkdir -p "$program" "$home/Desktop" "$home/.config"
  cp "$build_dir/src/vantelle" "$program/"
  cp -r data/. "$program/"
  [ "$skin" = yes ] || rm -rf "$program/x"
  if [ "$action" = restored ]; then
    mkdir -p "$home/.config/Orlenby"
    cat >"$home/.config/Orlenby/Vantelle.ini" <<'INI'
[Vantelle]
Image%201="/home/someone/Pictures/Holidays 2024/Coast at dusk, seen from the lighthouse.jpg"
Image%202=/home/someone/Pictures/Holidays 2024/Coast at dawn.jpg
Option=3
Option5=False
Option6=True
Text4=/home/someone/Pictures/Blended results/
INI
  fi
  if [ "$action" = preview ]; then
    mkdir -p "$home/.config/Orlenby"
    cat >"$home/.config/Orlenby/Vantelle.ini" <<INI
[Vantelle]
Image%201=$program/Samples/sample1.jpg
Image%202=$program/Samples/sample2.jpg
Option=1
Preview=True
INI
  fi
  mkdir -p "$home/.config/qt6ct"
  cat >"$home/.config/qt6ct/qt6ct.conf" <<'CONF'
[Appearance]
custom_palette=true
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
style=Fusion
CONF

  # The server picks a free display and writes its number to the descriptor it is given.
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/$name/display" 2>/dev/null &
  local server=$!
  pids+=("$server")
  for _ in $(seq 50); do [ -s "$work/$name/display" ] && break; sleep 0.1; done
  local display=":$(cat "$work/$name/display")"

  env DISPLAY="$display" HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=xcb "$@" \
    "$program/vantelle" &
  local app=$!
  pids+=("$app")
  sleep 3
  local scale=1 var
  for var in "$@"; do [[ $var = QT_SCALE_FACTOR=* ]] && scale=${var#QT_SCALE_FACTOR=}; done
  case "$action" in
    click\ *)
      read -r _ x y <<<"$action"
      DISPLAY="$display" xdotool search --name '^Vantelle$' mousemove --window %1 \
        $((x * scale)) $((y * scale)) click 1
      sleep 2 ;;
    tab\ *)
      DISPLAY="$display" xdotool search --name '^Vantelle$' windowfocus --sync %1
      for _ in $(seq "${action#tab }"); do DISPLAY="$display" xdotool key Tab; done
      sleep 1 ;;
  esac
  DISPLAY="$display" import -window root "$out/$name.png"
  kill "$app" "$server"
  wait "$app" "$server" 2>/dev/null || true
}

dark=(QT_QPA_PLATFORMTHEME=qt6ct)
# Qt reads the language from LANG; the character set stays one that every system has.
german=(LANG=de_DE.UTF-8 LANGUAGE=de LC_CTYPE=C.UTF-8)

shoot with-skin 800x600 yes none
shoot without-skin 800x600 no none
shoot with-skin-restored 800x600 yes restored
shoot without-skin-dark 800x600 no none "${dark[@]}"
shoot with-skin-dark 800x600 yes none "${dark[@]}"
shoot with-skin-dark-tip 800x600 yes "click $help_button" "${dark[@]}"
shoot with-skin-dark-open 1024x768 yes "click $picture1_button" "${dark[@]}"
shoot with-skin-focus-option 800x600 yes "tab 1"
shoot with-skin-focus-button 800x600 yes "tab 5"
shoot with-skin-focus-bar 800x600 yes "tab 6"
shoot without-skin-focus-button 800x600 no "tab 5"
shoot without-skin-focus-bar 800x600 no "tab 6"
shoot with-skin-scale2 1600x1200 yes none QT_SCALE_FACTOR=2
shoot german 800x600 yes none "${german[@]}"
shoot german-open 1024x768 yes "click $picture1_button" "${german[@]}"
shoot with-preview 1600x600 yes preview
shoot with-preview-scale2 1920x1080 yes preview QT_SCALE_FACTOR=2
echo "Screenshots in $out"
