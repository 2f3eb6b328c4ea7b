#!/usr/bin/env bash
# The real program under Xvfb, used only with the mouse and keys through xdotool, as a person
# would: open a folder of three generated songs in the folder list, click them into the playlist
# (not in folder order), press Play, Pauze twice, Next, let the queue advance by itself, Stop and
# Exit. What the audio device received (SDL's disk driver, paced like a real device) must be the
# three songs' pitches in playlist order; screenshots must show the time, the bar and the totals
# change, and stand still while paused. The screenshots stay in OUT-DIR to be looked at.
#
#   window_e2e.sh PLAYER OUT-DIR
# Exits 77 (skipped) when xvfb-run, xdotool, ImageMagick, sox, lame or python3 is missing.
set -euo pipefail
player=$(realpath "$1")
outdir=$(realpath -m "$2")
source "$(dirname "$0")/../support/program_test_lib.sh"

require_tools xvfb-run xdotool import compare sox lame python3
reexec_in_xvfb "$0" "$@"
fresh_folder "$outdir"
stage=$(mktemp -d "${TMPDIR:-/tmp}/tunekist-e2e.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  release_capture
  rm -rf "$stage"
}
trap cleanup EXIT

# The song list starts in the program's own folder, so a copy stands beside the music folder.
cp "$player" "$stage/tunekist"
mkdir "$stage/Muziek"
make_song() {  # name, seconds, hz
  sox -q -V1 -n -r 44100 -c 2 -b 16 -t wav - synth "$2" sine "$3" vol 0.5 | lame --quiet -b 128 - "$stage/Muziek/$1.mp3"
}
# Cello is skipped with Next, Alt ends by itself, Bas is stopped: each long enough for its part.
make_song "Alt" 3 220
make_song "Bas" 30 440
make_song "Cello" 15 880

(cd "$stage/Muziek" && md5sum -- *.mp3) >"$stage/before.md5"

heard="$outdir/heard.f32"
capture_disk_sound "$stage/device" "$heard"
export QT_QPA_PLATFORM=xcb
# Under AddressSanitizer the end of the program is checked for leaks; the display connection's
# system libraries keep buffers until exit, and they are not the program's.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")/../e2e" && pwd)/lsan_display.supp"
(cd "$stage" && exec ./tunekist) >"$outdir/player.log" 2>&1 &
player_pid=$!
pids+=("$player_pid")

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1)
W=1225 H=711
xdotool windowsize --sync "$window" $W $H 2>/dev/null || xdotool windowsize "$window" $W $H
sleep 1

shot() { import -window "$window" "$outdir/$1.png"; }
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.4; }
# The command buttons: Knop(i) at W/2 + 600 + 930 i twips from the left, H - 1830 from the top,
# 900 x 630 twips; ExitKnop at W - 1530. 15 twips to the pixel; clicks land in the middle.
knop() { click $(((W * 15 / 2 + 600 + 930 * $1 + 450) / 15)) $(((H * 15 - 1830 + 315) / 15)); }
exit_knop() { click $(((W * 15 - 1530 + 450) / 15)) $(((H * 15 - 1830 + 315) / 15)); }

shot 01-start
# The folder list: its last entry is the music folder; Return opens it and lists its songs.
click 150 80
xdotool key --window "$window" End Return
wait_until_idle "$player_pid"
shot 02-folder
# The song rows, 15 pixels apart: Cello, Alt, Bas into the playlist.
click 150 302
click 150 272
click 150 287
shot 03-queued
knop 0   # Play
sleep 2.2
shot 04-playing
sleep 1.6
shot 05-playing-later
knop 1   # Pauze
sleep 1.2
shot 06-paused
sleep 1.2
shot 07-still-paused
knop 1   # Pauze again: on
sleep 0.5
knop 4   # Next: Alt
sleep 1.5
shot 08-next
sleep 4    # Alt ends; Bas follows by itself
shot 09-advanced
knop 5   # Stop
sleep 0.5
shot 10-stopped
exit_knop
ended=no
for _ in $(seq 100); do
  if ! kill -0 "$player_pid" 2>/dev/null; then ended=yes; break; fi
  sleep 0.1
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[[ $ended == yes ]] || fail "Exit did not end the program"
if [[ $ended == yes ]]; then
  wait "$player_pid" && status=0 || status=$?
  [[ $status -eq 0 ]] || fail "the program ended with status $status"
fi

(cd "$stage/Muziek" && md5sum -- *.mp3) | cmp -s - "$stage/before.md5" || fail "the songs' files changed"

# Regions of the design size in pixels: the header strip with the song and its time, the
# progress bar, the status strip with the totals.
region() {  # picture, geometry -> a hash of the pixels there
  convert "$outdir/$1.png" -crop "$2" +repage -depth 8 rgb:- | md5sum | cut -d' ' -f1
}
header=532x30+652+551
bar=46x200+589+423
status=1145x30+40+641
[[ $(region 01-start $status) != $(region 02-folder $status) ]] || fail "the folder's totals did not show"
[[ $(region 02-folder $status) != $(region 03-queued $status) ]] || fail "the playlist's total did not change"
[[ $(region 04-playing $header) != $(region 05-playing-later $header) ]] || fail "the time did not move"
[[ $(region 03-queued $bar) != $(region 05-playing-later $bar) ]] || fail "the bar did not grow"
[[ $(region 06-paused $header) == $(region 07-still-paused $header) ]] || fail "the time moved while paused"
[[ $(region 06-paused $bar) == $(region 07-still-paused $bar) ]] || fail "the bar moved while paused"
[[ $(region 08-next $header) != $(region 09-advanced $header) ]] || fail "the next song did not start by itself"

# What was heard: the pitches of the sounding stretches, in order, merged where they repeat.
pitches=$(python3 "$(dirname "$0")/../support/tones_heard.py" "$heard")
echo "heard: $pitches Hz"
[[ "$pitches" == "880 220 440" ]] || fail "heard '$pitches' Hz, expected 880 220 440 (Cello, Alt, Bas)"

if [[ $failures -ne 0 ]]; then
  echo "$failures failures; screenshots in $outdir"
  exit 1
fi
echo "passed; screenshots in $outdir"
