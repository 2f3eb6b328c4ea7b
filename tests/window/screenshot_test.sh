#!/usr/bin/env bash
# Photographs the real program under Xvfb at the design size, a larger and a smaller size, and
# checks the colours of the window, the frame panel, the lists, the strips, the progress bar and
# a command button's face at places the layout fixes. The pictures stay in OUT-DIR to be looked at.
#
#   screenshot_test.sh PLAYER SCREENSHOT-TOOL OUT-DIR
# Exits 77 (skipped) when xvfb-run, xdotool or ImageMagick is missing.
set -euo pipefail
player=$1
screenshot=$2
outdir=$3

source "$(dirname "$0")/../support/program_test_lib.sh"
require_tools xvfb-run xdotool import convert
mkdir -p "$outdir"

failures=0
# The colour of pixel (x, y) of a picture, as r,g,b.
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
expect_pixel() {
  local picture=$1 what=$2 x=$3 y=$4 want=$5 got
  got=$(pixel "$picture" "$x" "$y")
  if [[ "$got" != "$want" ]]; then
    echo "FAIL $(basename "$picture"): $what at ($x,$y) is $got, expected $want"
    failures=$((failures + 1))
  fi
}

# Without a window manager the window has no frame: its outer size is the size asked for.
# 1040 x 600 is about the smallest at which the buttons and the middle strip do not overlap.
for size in 1225x711 1600x950 1040x600; do
  w=${size%x*}
  h=${size#*x}
  picture="$outdir/window-$size.png"
  "$screenshot" "$player" "$w" "$h" "$picture"
  dims=$(identify -format "%wx%h" "$picture")
  if [[ "$dims" != "$size" ]]; then
    echo "FAIL $(basename "$picture"): the picture is $dims"
    failures=$((failures + 1))
    continue
  fi
  expect_pixel "$picture" "window background" 3 3 "0,100,0"
  expect_pixel "$picture" "frame border" 10 10 "0,0,0"
  expect_pixel "$picture" "frame border" 11 11 "0,0,0"
  expect_pixel "$picture" "frame interior" 12 12 "220,220,190"
  expect_pixel "$picture" "song list" 60 $((h - 90)) "30,30,50"
  expect_pixel "$picture" "playlist" $((w - 60)) 80 "30,30,50"
  expect_pixel "$picture" "status strip" $((w / 2)) $((h - 42)) "200,200,170"
  expect_pixel "$picture" "header strip" $((w / 2 + 50)) $((h - 131)) "30,30,50"
  expect_pixel "$picture" "middle strip" $((w / 2 - 30)) 45 "200,200,170"
  expect_pixel "$picture" "progress bar" $((w / 2)) $((h - 100)) "30,0,0"
  # The idle Stop button, Knop(5): W / 2 + 600 + 5 x 930 twips from the left, H - 1830 from the top.
  # Its corner pixel is cut away and shows the frame behind; then its border, shading and face.
  x=$(( (w * 15 + 10500 + 15) / 30 )) y=$((h - 122))
  expect_pixel "$picture" "Stop's cut corner" $x $y "220,220,190"
  expect_pixel "$picture" "Stop's border" $((x + 30)) $y "112,112,112"
  expect_pixel "$picture" "Stop's corner shading" $((x + 1)) $((y + 1)) "145,145,145"
  expect_pixel "$picture" "Stop's face" $((x + 4)) $((y + 2)) "242,242,242"
done

if [[ $failures -ne 0 ]]; then
  echo "$failures wrong pixels; pictures in $outdir"
  exit 1
fi
echo "screenshots in $outdir"
