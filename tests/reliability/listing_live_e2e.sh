#!/usr/bin/env bash
# The real program under Xvfb stays live while it lists a large folder: input given right after
# the folder is opened runs inside the listing's yields. Each case starts the program afresh (its
# duration cache empty), opens a folder of many short songs with End and Return, and ~50 ms later
# clicks a song, moves the slider, opens another folder, presses Play and Next, Exit, or asks the
# window to close as a window manager's close box does. Which songs the program opened, in order,
# comes from inotify, so each check knows whether its input arrived while the listing still ran:
#   - a clicked song joins the playlist (its file is opened again) before the last song is listed;
#   - another folder abandons the listing, is listed in full, and its first row is its own song;
#   - Play and Next start the queue's songs mid-listing, and the listing still measures every song
#     (the folder's total shows as in an undisturbed listing);
#   - Exit and the close box end the program before the folder is listed, with status 0.
#
#   listing_live_e2e.sh PLAYER CLOSE_REQUEST OUT-DIR SONG-CACHE
# SONG-CACHE keeps the generated songs (real copies, one inode each) between runs, in the folders
# the program is started beside.
# Exits 77 (skipped) when xvfb-run, xdotool, ImageMagick, sox, lame or python3 is missing.
set -euo pipefail
player=$(realpath "$1")
close_request=$(realpath "$2")
outdir=$(realpath -m "$3")
cache=$(realpath -m "$4")

source "$(dirname "$0")/../support/program_test_lib.sh"
require_tools xvfb-run xdotool import convert sox lame python3
reexec_in_xvfb "$0" "$@"

# Many songs of a second at 32 kb/s (4 KB each): the listing runs for a fair share of a second.
N=10000 M=100
make_songs() {  # folder, count, prefix, hz, seconds
  local folder=$1 count=$2 prefix=$3 hz=$4 seconds=$5
  [[ "$(cat "$folder/.complete" 2>/dev/null)" == "$*" ]] && return
  rm -rf "$folder" && mkdir -p "$folder"
  sox -q -V1 -R -n -r 44100 -c 1 -b 16 -t wav - synth "$seconds" sine "$hz" vol 0.5 | lame --quiet -b 32 - "$folder/.song"
  python3 - "$folder" "$count" "$prefix" <<'PY'
import shutil, sys
folder, count, prefix = sys.argv[1], int(sys.argv[2]), sys.argv[3]
for i in range(1, count + 1):
    shutil.copyfile(f"{folder}/.song", f"{folder}/{prefix}{i:05d}.mp3")
PY
  echo "$*" >"$folder/.complete"
}
stage=$cache/stage
make_songs "$stage/Muziek" $N s 440 1
make_songs "$stage/Muziek/Ander" $M a 660 1
# Long enough not to end during a listing: the end of the last song shows a message box, which
# would hold the listing until it is closed.
make_songs "$stage/Kort" 2 k 880 60

fresh_folder "$outdir"
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT
# The program's own folder holds Kort and Muziek, and Muziek holds Ander.
cp "$player" "$stage/tunekist"

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null QT_QPA_PLATFORM=xcb
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")/../e2e" && pwd)/lsan_display.supp"
W=1225 H=711
failures=0
fail() {
  echo "FAIL ($case): $*"
  failures=$((failures + 1))
  ! grep -q -x overflow "$log" || echo "  (the log of opened songs overflowed the kernel's queue and is incomplete)"
}

# Starts the program and a watcher that logs every song file it opens as FOLDER/NAME, in order.
start() {  # case name
  case=$1
  log="$outdir/$case.opens"
  python3 - "$log" "$stage/Muziek" "$stage/Muziek/Ander" "$stage/Kort" <<'PY' &
import ctypes, os, struct, sys
libc = ctypes.CDLL(None, use_errno=True)
fd = libc.inotify_init()
names = {libc.inotify_add_watch(fd, d.encode(), 0x20): os.path.basename(d) for d in sys.argv[2:]}  # IN_OPEN
out = open(sys.argv[1] + ".part", "w", buffering=1)
os.rename(sys.argv[1] + ".part", sys.argv[1])
while True:
    data, at = os.read(fd, 1 << 16), 0
    while at < len(data):
        wd, mask, _, size = struct.unpack_from("iIII", data, at)
        name = data[at + 16:at + 16 + size].rstrip(b"\0").decode()
        at += 16 + size
        if mask & 0x4000:  # the kernel's queue overflowed: the log is incomplete
            out.write("overflow\n")
        elif name.endswith(".mp3") and not mask & 0x40000000:  # files, not the folder itself
            out.write(f"{names[wd]}/{name}\n")
PY
  watcher_pid=$!
  pids+=("$watcher_pid")
  for _ in $(seq 100); do [[ -f "$log" ]] && break; sleep 0.05; done
  (cd "$stage" && exec ./tunekist) >"$outdir/$case.log" 2>&1 &
  player_pid=$!
  pids+=("$player_pid")
  window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$player_pid" --name '^Form1$' | head -n 1)
  xdotool windowsize --sync "$window" $W $H 2>/dev/null || xdotool windowsize "$window" $W $H
  sleep 0.5
  xdotool mousemove --window "$window" 150 80 click 1  # the folder list
  sleep 0.3
}
xy_knop() { echo $(((W * 15 / 2 + 600 + 930 * $1 + 450) / 15)) $(((H * 15 - 1830 + 315) / 15)); }
xy_exit() { echo $(((W * 15 - 1530 + 450) / 15)) $(((H * 15 - 1830 + 315) / 15)); }
row1="150 272"
slider="611 230"
# Opens the folder list's last entry, then after 100 ms does the rest of the xdotool commands.
open_last_then() { xdotool key --window "$window" End Return sleep 0.1 "$@"; }
# What the log says. A listed song may be opened more than once while it is measured.
distinct() { grep "^$1/" "$log" | sort -u | wc -l; }  # folder: songs of it opened
# True when `song` was opened after the first opening of `after` and before that of `before`.
opened_between() {  # song, after, before
  awk -v s="$1" -v a="$2" -v b="$3" '$0 == a && !from { from = NR } $0 == b && !to { to = NR }
    $0 == s && from && NR > from && !to { found = 1 } END { exit !found }' "$log"
}
listed() {  # waits until `count` songs of `folder` were opened, up to 30 s, and for the paint after
  for _ in $(seq 300); do [[ $(distinct "$1") -ge $2 ]] && break; sleep 0.1; done
  sleep 0.5
}
ended() {  # waits for the program to end, up to 10 s; says how long it took
  local started=$(date +%s%N)
  for _ in $(seq 200); do
    if ! kill -0 "$player_pid" 2>/dev/null; then
      wait "$player_pid" && status=0 || status=$?
      echo "$case: ended $(( ($(date +%s%N) - started) / 1000000 )) ms after the request"
      [[ $status -eq 0 ]] || fail "the program ended with status $status"
      return 0
    fi
    sleep 0.05
  done
  return 1
}
stop() {
  kill "$player_pid" 2>/dev/null || true
  wait "$player_pid" 2>/dev/null || true
  kill "$watcher_pid" 2>/dev/null || true
}
region() { convert "$outdir/$1.png" -crop "$2" +repage -depth 8 rgb:- | md5sum | cut -d' ' -f1; }
folder_totals=700x30+40+641  # Label1 and Label2 on the status strip
volume=46x230+588+50         # the slider and the volume text under it
last="Muziek/s$(printf %05d $N).mp3"

start click
import -window "$window" "$outdir/click-before.png"
open_last_then mousemove --window "$window" $slider click 1 mousemove --window "$window" $row1 click 1
listed Muziek $N
import -window "$window" "$outdir/click-after.png"
stop
opened_between Muziek/s00001.mp3 Muziek/s00002.mp3 "$last" || fail "the click on a listed song was not handled during the listing"
[[ $(region click-before $volume) != $(region click-after $volume) ]] || fail "the slider did not move"

start folder
open_last_then key --window "$window" End Return
listed Ander $M
xdotool mousemove --window "$window" $row1 click 1
sleep 0.5
import -window "$window" "$outdir/folder.png"
stop
[[ $(distinct Muziek) -lt $N ]] || fail "the first folder's listing was not abandoned"
[[ $(distinct Ander) -eq $M ]] || fail "the new folder was not listed in full"
opened_between Ander/a00001.mp3 "Ander/a$(printf %05d $M).mp3" none ||
  fail "the first row, clicked, did not add the new folder's first song"

start playnext
xdotool key --window "$window" End Up Return  # Kort
sleep 0.5
xdotool mousemove --window "$window" $row1 click 1 sleep 0.3 mousemove --window "$window" 150 287 click 1 sleep 0.3
xdotool mousemove --window "$window" 150 80 click 1 sleep 0.2 key --window "$window" End Up Return sleep 0.5  # the program's folder
xdotool mousemove --window "$window" 150 80 click 1 sleep 0.2
open_last_then mousemove --window "$window" $(xy_knop 0) click 1 sleep 0.05 mousemove --window "$window" $(xy_knop 4) click 1
listed Muziek $N
import -window "$window" "$outdir/playnext.png"
kill -0 "$player_pid" 2>/dev/null || fail "the program died"
stop
[[ $(distinct Muziek) -eq $N ]] || fail "the listing did not measure every song"
opened_between Kort/k00001.mp3 Muziek/s00001.mp3 "$last" || fail "Play did not start the head song during the listing"
opened_between Kort/k00002.mp3 Muziek/s00001.mp3 "$last" || fail "Next did not move on during the listing"
[[ $(region click-after $folder_totals) == $(region playnext $folder_totals) ]] ||
  fail "the folder's count and total differ from an undisturbed listing"

start exit
open_last_then mousemove --window "$window" $(xy_exit) click 1
ended || fail "Exit did not end the program"
stop
[[ $(distinct Muziek) -lt $N ]] || fail "Exit did not stop the listing"

start closebox
xdotool key --window "$window" End Return sleep 0.1
"$close_request" "$window" || fail "could not ask the window to close"
ended || fail "the close box did not end the program"
stop
[[ $(distinct Muziek) -lt $N ]] || fail "the close box did not stop the listing"

if [[ $failures -ne 0 ]]; then
  echo "$failures failures; screenshots and logs in $outdir"
  exit 1
fi
echo "passed; screenshots and logs in $outdir"
