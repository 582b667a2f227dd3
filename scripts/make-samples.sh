#!/usr/bin/env bash
# Draws the two sample pictures that "Load Sample/Example Files" puts into the fields: a
# meadow under a midday sky and a lake at sunset, both 729 x 425 (the canvas size) with the
# horizon at the same height, so that any blend side gives a natural-looking result.
# Everything is drawn here from gradients, curves and noise with ImageMagick; no outside
# picture is used. Run it after changing the drawing, then commit data/Samples/.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v convert >/dev/null || { echo "ImageMagick is needed: scripts/install-deps.sh --with-tools" >&2; exit 1; }

out=data/Samples
size=729x425
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A fixed seed keeps the noise, and so the files, the same at every run.
noise() { convert -seed "$1" -size $size xc:gray50 -attenuate "$2" +noise Gaussian -colorspace Gray -blur 0x"$3" "$4"; }

# A layer of land: the area below a curve, filled with a vertical gradient.
land() { # name top-colour bottom-colour path
  convert -size $size gradient:"$2"-"$3" \
    \( -size $size xc:black -fill white -draw "path '$4'" -blur 0x1 \) \
    -alpha off -compose CopyOpacity -composite "$work/$1.png"
}

# Meadow at noon: soft clouds in a blue sky, far blue hills, two fields of grass.
convert -size $size gradient:'#2d6cc0'-'#d6ecf8' "$work/sky1.png"
convert -seed 11 -size $size plasma:fractal -colorspace Gray -blur 0x6 -auto-level -level 50%,85% \
  \( -size $size gradient:white-'#404040' \) -compose Multiply -composite "$work/cloudmask.png"
convert "$work/sky1.png" \( -size $size xc:white \) "$work/cloudmask.png" -compose Over -composite "$work/sky1c.png"
land far1 '#7d93b0' '#a9bccf' 'M 0,268 C 90,214 170,230 250,246 C 330,205 420,196 520,240 C 600,222 680,230 729,248 L 729,425 L 0,425 Z'
land mid1 '#7aac44' '#4b7a22' 'M 0,292 C 120,250 230,262 340,286 C 450,300 560,258 729,276 L 729,425 L 0,425 Z'
land near1 '#4f8a24' '#2c5512' 'M 0,352 C 140,320 260,332 380,350 C 520,372 620,330 729,338 L 729,425 L 0,425 Z'
noise 12 0.8 0.5 "$work/grain1.png"
convert "$work/sky1c.png" "$work/far1.png" -composite "$work/mid1.png" -composite "$work/near1.png" -composite \
  "$work/grain1.png" -compose SoftLight -composite \
  -strip -sampling-factor 4:4:4 -quality 90 "$out/sample1.jpg"

# Lake at sunset: the sun setting behind far hills, mirrored in rippled water, with a dark
# bank in the foreground. The water line lies at 300.
convert -size 729x300 gradient:'#24124f'-'#f0793a' \
  \( -size 729x125 gradient:'#ffc56a'-'#f0793a' \) -append "$work/sky2.png"
convert -size $size xc:none -fill '#fff2c0' -draw "circle 470,262 470,234" -blur 0x2 \
  \( -size $size xc:none -fill '#ffb35a' -draw "circle 470,262 470,172" -blur 0x40 \) \
  -compose DstOver -composite "$work/sun.png"
land far2 '#5b2a5e' '#3e1b48' 'M 0,262 C 80,226 160,234 240,250 C 320,212 400,226 450,262 C 560,246 650,226 729,248 L 729,425 L 0,425 Z'
convert "$work/sky2.png" "$work/sun.png" -composite "$work/far2.png" -composite "$work/above.png"
convert -seed 21 -size 729x125 xc:gray50 -attenuate 2 +noise Gaussian -colorspace Gray \
  -motion-blur 0x18+0 "$work/ripple.png"
convert "$work/above.png" -crop 729x125+0+175 +repage -flip -fill '#1b1a3a' -colorize 30% \
  "$work/ripple.png" -compose Overlay -composite "$work/water.png"
land bank2 '#1d0c26' '#12061a' 'M 0,338 C 70,330 140,344 200,372 C 240,392 270,410 290,425 L 0,425 Z'
convert "$work/above.png" "$work/water.png" -geometry +0+300 -compose Over -composite \
  "$work/bank2.png" -compose Over -composite "$work/lake.png"
noise 22 0.8 0.5 "$work/grain2.png"
convert "$work/lake.png" "$work/grain2.png" -compose SoftLight -composite \
  -strip -sampling-factor 4:4:4 -quality 90 "$out/sample2.jpg"

ls -l "$out"
