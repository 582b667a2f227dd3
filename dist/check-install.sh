#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a user gets: the programs in bin/,
# their data in share/vantelle/, the desktop entry, the AppStream metadata, the theme icons,
# the manual pages and the licence. The desktop entry and the metadata are validated when
# the validators are installed, no picture type gets Vantelle as its default handler, the
# manual pages are rendered, and the installed vantelle-blend blends the installed samples
# from another folder.
#
#     dist/check-install.sh BUILD_DIR
#
# Exits 0 when every check passes; otherwise names the failures and exits 1. The cmake that
# installs is $CMAKE, or the first one on the PATH.
set -euo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
cmake=${CMAKE:-cmake}
app_id=com.orlenby.Vantelle

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/usr

checks=0
failures=0
pass() { checks=$((checks + 1)); echo "ok: $*"; }
fail() { checks=$((checks + 1)); failures=$((failures + 1)); echo "FAIL: $*"; }
skip() { echo "skipped: $*"; }

# The bytes of a file from an offset, as decimal numbers separated by single spaces.
bytes() { od -An -v -tu1 -j "$2" -N "$3" "$1" | tr -s ' \n' '  ' | sed 's/^ //; s/ $//'; }

if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "install layout: cmake --install $build failed"
  exit 1
fi

# --- Layout ---------------------------------------------------------------------------------

for program in vantelle vantelle-blend; do
  if [ -f "$prefix/bin/$program" ] && [ -x "$prefix/bin/$program" ]; then
    pass "bin/$program"
  else
    fail "bin/$program is missing or not executable"
  fi
done

desktop=share/applications/$app_id.desktop
metainfo=share/metainfo/$app_id.metainfo.xml
for file in share/vantelle/Samples/sample1.jpg share/vantelle/Samples/sample2.jpg \
  share/vantelle/x/o.cjs share/vantelle/HAND-M.CUR share/vantelle/icons/vantelle.ico \
  "$desktop" "$metainfo" share/doc/vantelle/LICENSE; do
  if [ -s "$prefix/$file" ]; then pass "$file"; else fail "$file is missing or empty"; fi
done

if [ -s "$prefix/share/doc/vantelle/LICENSE" ]; then
  if grep -q '^MIT License' "$prefix/share/doc/vantelle/LICENSE" &&
    grep -q 'Copyright (c) 2026 Orlenby' "$prefix/share/doc/vantelle/LICENSE"; then
    pass "the licence is the MIT licence of Orlenby"
  else
    fail "share/doc/vantelle/LICENSE is not the MIT licence of Orlenby"
  fi
fi

# Each PNG holds an image of its folder's size.
for size in 48 128 256; do
  icon=share/icons/hicolor/${size}x${size}/apps/$app_id.png
  if [ ! -f "$prefix/$icon" ]; then
    fail "$icon is missing"
    continue
  fi
  signature=$(bytes "$prefix/$icon" 0 16)
  dimensions=$(bytes "$prefix/$icon" 16 8)
  expected="0 0 $((size / 256)) $((size % 256))"
  if [ "$signature" = "137 80 78 71 13 10 26 10 0 0 0 13 73 72 68 82" ] &&
    [ "$dimensions" = "$expected $expected" ]; then
    pass "$icon is a ${size} x ${size} PNG"
  else
    fail "$icon is not a ${size} x ${size} PNG"
  fi
done
svg=share/icons/hicolor/scalable/apps/$app_id.svg
if [ -f "$prefix/$svg" ] && grep -q '<svg[^>]*viewBox=' "$prefix/$svg" && grep -q '</svg>' "$prefix/$svg"; then
  pass "$svg"
else
  fail "$svg is missing or no SVG"
fi

manuals=()
for page in vantelle vantelle-blend; do
  found=
  for file in "share/man/man1/$page.1.gz" "share/man/man1/$page.1"; do
    [ -f "$prefix/$file" ] && { found=$file; break; }
  done
  if [ -n "$found" ]; then
    pass "$found"
    manuals+=("$found")
  else
    fail "share/man/man1/$page.1(.gz) is missing"
  fi
done

# --- The desktop entry and the metadata name what is installed ------------------------------

if [ -f "$prefix/$desktop" ]; then
  exec_line=$(sed -n 's/^Exec=//p' "$prefix/$desktop")
  icon_name=$(sed -n 's/^Icon=//p' "$prefix/$desktop")
  if [ -x "$prefix/bin/${exec_line%% *}" ]; then
    pass "the desktop entry starts bin/${exec_line%% *}"
  else
    fail "the desktop entry starts \"${exec_line%% *}\", which is not in bin/"
  fi
  if [ "$icon_name" = "$app_id" ]; then
    pass "the desktop entry's icon is the installed theme icon"
  else
    fail "the desktop entry's icon \"$icon_name\" is not $app_id"
  fi
fi
if [ -f "$prefix/$metainfo" ]; then
  id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$prefix/$metainfo")
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$prefix/$metainfo")
  if [ "$id" = "$app_id" ] && [ "$launchable" = "$app_id.desktop" ]; then
    pass "the metadata's id and launchable match the desktop entry"
  else
    fail "the metadata's id \"$id\" or launchable \"$launchable\" does not match $app_id.desktop"
  fi
  binaries=$(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$prefix/$metainfo")
  for binary in $binaries; do
    if [ -x "$prefix/bin/$binary" ]; then
      pass "the metadata's binary $binary is installed"
    else
      fail "the metadata names the binary $binary, which is not in bin/"
    fi
  done
  [ -n "$binaries" ] || fail "the metadata provides no binary"
fi

# --- Installing makes Vantelle the default of no picture type --------------------------------

# A desktop takes the programs whose entries list a type as its handlers, and the only one as
# the default: then every picture, a job's own result included, would open in Vantelle. The
# entry lists no types, which is checked as the desktops read it: xdg-mime over data folders
# that hold nothing but this installation, and Debian's mailcap generator over its entries.
picture_types="image/jpeg image/png image/bmp image/gif"
if [ -f "$prefix/$desktop" ]; then
  if grep -q '^MimeType=' "$prefix/$desktop"; then
    fail "the desktop entry lists types ($(grep '^MimeType=' "$prefix/$desktop")), so it handles them"
  else
    pass "the desktop entry lists no types"
  fi
fi
xdg=$work/xdg
mkdir -p "$xdg/home" "$xdg/config"
if command -v xdg-mime >/dev/null && command -v update-desktop-database >/dev/null; then
  update-desktop-database "$prefix/share/applications"
  for type in $picture_types; do
    handler=$(env -i PATH="$PATH" HOME="$xdg/home" XDG_CONFIG_HOME="$xdg/config" XDG_CONFIG_DIRS="$xdg/config" \
      XDG_DATA_HOME="$xdg/home/.local/share" XDG_DATA_DIRS="$prefix/share" xdg-mime query default "$type" 2>&1) || true
    if grep -qF "$app_id" <<<"$handler"; then
      fail "xdg-mime names $handler as the default for $type"
    else
      pass "xdg-mime names no Vantelle entry as the default for $type"
    fi
  done
else
  skip "xdg-mime or update-desktop-database is not installed (Debian packages xdg-utils, desktop-file-utils)"
fi
if [ -f /usr/sbin/update-mime ] && command -v perl >/dev/null; then
  # The generator run for this user alone (--local writes ~/.mailcap), reading the installed
  # desktop entries instead of the system's and no package's mailcap entries.
  mkdir -p "$xdg/no-mime-packages"
  sed -e "s|^my \$appsdir[[:space:]]*=.*|my \$appsdir = \"$prefix/share/applications\";|" \
    -e "s|^my \$mimedir[[:space:]]*=.*|my \$mimedir = \"$xdg/no-mime-packages\";|" \
    /usr/sbin/update-mime >"$xdg/update-mime"
  if ! grep -qF "\$appsdir = \"$prefix/share/applications\"" "$xdg/update-mime" ||
    ! grep -qF "\$mimedir = \"$xdg/no-mime-packages\"" "$xdg/update-mime"; then
    skip "this update-mime names its folders in another way"
  elif ! HOME=$xdg/home perl "$xdg/update-mime" --local >"$xdg/update-mime.log" 2>&1; then
    fail "update-mime over the installed entries failed: $(cat "$xdg/update-mime.log")"
  elif grep -qi 'vantelle' "$xdg/home/.mailcap" 2>/dev/null; then
    fail "the mailcap made from the installed entries names Vantelle: $(grep -i vantelle "$xdg/home/.mailcap" | head -n 1)"
  else
    pass "the mailcap made from the installed entries names no Vantelle viewer"
  fi
else
  skip "update-mime is not installed (Debian package mailcap)"
fi

# --- Validators -----------------------------------------------------------------------------

# validate NAME PACKAGE FILE PATTERN COMMAND...: runs a validator on an installed file; it
# passes when the validator exits 0 and prints no line matching PATTERN.
validate() {
  local name=$1 package=$2 file=$3 pattern=$4
  shift 4
  if ! command -v "$1" >/dev/null; then
    skip "$1 is not installed (Debian package $package)"
    return
  fi
  [ -f "$file" ] || return 0
  local status=0 output
  output=$("$@" "$file" 2>&1) || status=$?
  if [ "$status" -eq 0 ] && ! grep -qE "$pattern" <<<"$output"; then
    pass "$name"
  else
    fail "$name: $output"
  fi
}
validate desktop-file-validate desktop-file-utils "$prefix/$desktop" '[Ee][Rr][Rr][Oo][Rr]|[Ww][Aa][Rr][Nn][Ii][Nn][Gg]' \
  desktop-file-validate
validate "appstreamcli validate" appstream "$prefix/$metainfo" '^[EW]:' appstreamcli validate --no-net --no-color

# --- Manual pages ---------------------------------------------------------------------------

for page in "${manuals[@]}"; do
  status=0
  if command -v man >/dev/null; then
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/$page" >"$work/page.txt" 2>"$work/page.err" || status=$?
  elif command -v groff >/dev/null; then
    gzip -dcf "$prefix/$page" | groff -man -ww -Tutf8 >"$work/page.txt" 2>"$work/page.err" || status=$?
  else
    skip "no man or groff to render $page"
    continue
  fi
  if [ "$status" -eq 0 ] && [ ! -s "$work/page.err" ] && grep -q '^NAME' "$work/page.txt"; then
    pass "$page renders without warnings"
  else
    fail "$page does not render cleanly: $(cat "$work/page.err")"
  fi
done

# --- The installed vantelle-blend, run from another folder ----------------------------------

# Checks that a file is a whole baseline JPEG of 729 x 425 with three full-resolution
# components (4:4:4), reading the frame header that follows the start of image.
check_jpeg() {
  local file=$1 data i=2 marker length
  if [ "$(bytes "$file" 0 2)" != "255 216" ]; then
    fail "$file does not start as a JPEG"
    return
  fi
  if [ "$(tail -c 2 "$file" | od -An -tu1 | tr -s ' \n' '  ' | sed 's/^ //; s/ $//')" != "255 217" ]; then
    fail "$file does not end as a JPEG"
    return
  fi
  read -r -a data <<<"$(head -c 65536 "$file" | od -An -v -tu1 | tr -s ' \n' '  ')"
  while ((i + 9 < ${#data[@]})); do
    if ((data[i] != 255)); then
      fail "$file: no marker at byte $i"
      return
    fi
    marker=${data[i + 1]}
    length=$((data[i + 2] * 256 + data[i + 3]))
    if ((marker == 192)); then
      local height=$((data[i + 5] * 256 + data[i + 6])) width=$((data[i + 7] * 256 + data[i + 8]))
      local components=${data[i + 9]} sampling=
      for ((c = 0; c < components; c++)); do sampling+="${data[i + 11 + 3 * c]} "; done
      if [ "$width x $height" != "729 x 425" ]; then
        fail "$file is $width x $height, not 729 x 425"
      elif [ "$components/$sampling" != "3/17 17 17 " ]; then
        fail "$file is not three components at full resolution (4:4:4)"
      else
        pass "$file is a 729 x 425 baseline JPEG, 4:4:4"
      fi
      return
    fi
    if ((marker >= 193 && marker <= 207 && marker != 196 && marker != 200 && marker != 204)); then
      fail "$file is a JPEG, but not baseline (frame marker 0xff$(printf '%02x' "$marker"))"
      return
    fi
    i=$((i + 2 + length))
  done
  fail "$file has no frame header"
}

blend=$prefix/bin/vantelle-blend
samples=$prefix/share/vantelle/Samples
if [ -x "$blend" ]; then
  mkdir "$work/elsewhere"
  cd "$work/elsewhere"

  status=0
  "$blend" --help >"$work/help.txt" 2>&1 || status=$?
  if [ "$status" -eq 0 ] && grep -q '^Usage: vantelle-blend' "$work/help.txt"; then
    pass "vantelle-blend --help"
  else
    fail "vantelle-blend --help exited $status: $(cat "$work/help.txt")"
  fi
  # Every long option of the usage is described in the manual page.
  for page in "${manuals[@]}"; do
    [[ $page == */vantelle-blend.1* ]] || continue
    source=$(gzip -dcf "$prefix/$page" | sed 's/\\-/-/g')
    mapfile -t options < <(grep -oE -- '--[a-z][a-z-]*' "$work/help.txt" | sort -u)
    for option in "${options[@]}"; do
      if grep -qF -- "$option" <<<"$source"; then
        pass "the manual page describes $option"
      else
        fail "vantelle-blend --help offers $option, but its manual page does not describe it"
      fi
    done
  done

  if [ -f "$samples/sample1.jpg" ] && [ -f "$samples/sample2.jpg" ]; then
    status=0
    "$blend" "$samples/sample1.jpg" "$samples/sample2.jpg" out.jpg 2>"$work/blend.err" || status=$?
    if [ "$status" -eq 0 ] && [ -s out.jpg ]; then
      check_jpeg out.jpg
    else
      fail "vantelle-blend sample1.jpg sample2.jpg out.jpg exited $status: $(cat "$work/blend.err")"
    fi

    status=0
    "$blend" --side top --start 200 "$samples/sample1.jpg" "$samples/sample2.jpg" out.bmp 2>"$work/blend.err" || status=$?
    if [ "$status" -ne 0 ] || [ ! -s out.bmp ]; then
      fail "vantelle-blend --side top --start 200 ... out.bmp exited $status: $(cat "$work/blend.err")"
    else
      read -r b m <<<"$(bytes out.bmp 0 2)"
      read -r w0 w1 w2 w3 h0 h1 h2 h3 <<<"$(bytes out.bmp 18 8)"
      width=$((w0 | w1 << 8 | w2 << 16 | w3 << 24))
      height=$((h0 | h1 << 8 | h2 << 16 | h3 << 24))
      ((height >= 2147483648)) && height=$((4294967296 - height))
      if [ "$b $m" = "66 77" ] && [ "$width x $height" = "729 x 425" ]; then
        pass "out.bmp is a 729 x 425 bitmap"
      else
        fail "out.bmp is not a 729 x 425 bitmap"
      fi
    fi

    # A file that is no picture fails the blend with status 1, one line, and no output.
    status=0
    "$blend" "$samples/sample1.jpg" "$prefix/share/vantelle/x/o.cjs" failed.jpg 2>"$work/blend.err" || status=$?
    if [ "$status" -eq 1 ] && [ ! -e failed.jpg ] && [ "$(wc -l <"$work/blend.err")" -eq 1 ]; then
      pass "a blend that fails exits 1 with one line and writes nothing"
    else
      fail "a blend of a file that is no picture exited $status: $(cat "$work/blend.err")"
    fi
  fi

  status=0
  "$blend" --side middle a.jpg b.jpg c.jpg 2>"$work/blend.err" || status=$?
  if [ "$status" -eq 2 ]; then
    pass "a wrong command line exits 2"
  else
    fail "vantelle-blend --side middle exited $status, not 2"
  fi
fi

# The installed programs do not look for libraries in the build tree.
if command -v readelf >/dev/null; then
  for program in vantelle vantelle-blend; do
    [ -f "$prefix/bin/$program" ] || continue
    if readelf -d "$prefix/bin/$program" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
      fail "bin/$program keeps a library path into the build tree"
    else
      pass "bin/$program has no library path into the build tree"
    fi
  done
fi

if [ "$failures" -eq 0 ]; then
  echo "install layout: all $checks checks passed"
else
  echo "install layout: $failures of $checks checks failed"
  exit 1
fi
