#!/usr/bin/env bash
# The real program under Xvfb, photographed at the design size (1225 x 711):
# - with a song whose name is far too long for the header playing, the name must end in "…" and
#   stop short of the elapsed time, which stays where the start-up picture has it and readable;
# - with the drive list dropped down, the drop-down must wear the closed box's colours (background
#   30,30,50, text 230,230,250), not the desktop's white.
# The pictures stay in OUT-DIR to be looked at.
#
#   header_and_dropdown_test.sh PLAYER SCREENSHOT-TOOL OUT-DIR
# Exits 77 (skipped) when xvfb-run, xdotool, ImageMagick, sox, lame or python3 is missing.
set -euo pipefail
player=$(realpath "$1")
screenshot=$(realpath "$2")
outdir=$(realpath -m "$3")

source "$(dirname "$0")/../support/program_test_lib.sh"
require_tools xvfb-run xdotool import convert sox lame python3
fresh_folder "$outdir"
stage=$(mktemp -d "${TMPDIR:-/tmp}/tunekist-header.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp "$player" "$stage/tunekist"
mkdir "$stage/Muziek"
sox -q -V1 -R -n -r 44100 -c 2 -b 16 -t wav - synth 20 sine 440 vol 0.3 |
  lame --quiet -b 32 - "$stage/Muziek/Een heel lange naam van een song die echt nooit in de kop van het venster past.mp3"

export SDL_AUDIODRIVER=dummy
# Open the music folder, click the song into the playlist and press Play (Knop 0).
play_long=$(cat <<'SETUP'
click() { xdotool mousemove --window "$TUNEKIST_WINDOW" "$1" "$2" click 1; sleep 0.5; }
click 150 80
xdotool key --window "$TUNEKIST_WINDOW" End Return
sleep 2
click 150 272
click 682 610
sleep 1.5
SETUP
)
# The drive list's middle; a click drops it down.
drop_down='xdotool mousemove --window "$TUNEKIST_WINDOW" 170 55 click 1; sleep 1'
(cd "$stage" && "$screenshot" ./tunekist 1225 711 "$outdir/dropdown.png" "$drop_down")
(cd "$stage" && "$screenshot" ./tunekist 1225 711 "$outdir/long-name.png" "$play_long")

python3 - "$outdir" <<'PY'
import collections, subprocess, sys
outdir = sys.argv[1]
def pixels(picture, x, y, w, h):
    raw = subprocess.run(["convert", f"{outdir}/{picture}", "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                          "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    return [[tuple(raw[(row * w + col) * 3:(row * w + col) * 3 + 3]) for col in range(w)] for row in range(h)]
failures = []
back, text = (30, 30, 50), (230, 230, 250)

# The header strip KopPic: 532 x 30 pixels at (652, 551). A column holds ink where a pixel is
# far from the strip's background.
def ink_columns(picture):
    rows = pixels(picture, 652, 551, 532, 30)
    far = lambda p: sum(abs(a - b) for a, b in zip(p, back)) > 60
    return [[y for y in range(30) if far(rows[y][x])] for x in range(532)]
# The time's place: in the start-up picture the header holds "Play song" and "00:00".
start = ink_columns("dropdown.png")
time_left = max(x for x in range(532) if start[x] and not any(start[x - 8:x]))
played = ink_columns("long-name.png")
name = [x for x in range(time_left - 8) if played[x]]
if any(played[time_left - 8:time_left]):
    failures.append("the song's name runs on to the elapsed time")
elif not name or name[-1] < time_left - 60:
    failures.append("the long name was not shown up to the time")
else:
    # "…" ends the name: its last few columns hold ink only on a line of dots at the baseline.
    tail = [y for x in range(name[-1] - 10, name[-1] + 1) for y in played[x]]
    if not tail or max(tail) - min(tail) > 3:
        failures.append("the cut name does not end in an ellipsis")
if not any(played[x] for x in range(time_left, 532)):
    failures.append("the elapsed time is missing")

# The drop-down's second entry, below the closed box: 255 x 20 pixels at (45, 66).
entry = [p for row in pixels("dropdown.png", 45, 66, 255, 20) for p in row]
common = collections.Counter(entry).most_common(1)[0][0]
if common != back:
    failures.append(f"the drop-down's background is {common}, expected {back}")
if text not in entry or max(max(p) for p in entry) > 250:
    failures.append(f"the drop-down's text is not drawn in {text}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
PY
echo "pictures in $outdir"
