#!/usr/bin/env bash
# A click from the X server reaches the real program while it lists a large folder: the first song,
# clicked once the listing has opened its 3,000th song (its row has been shown for a while by then:
# rows reach the list in batches, 50 ms apart), joins the playlist (which opens it again) before
# the listing opens the last one. The order of opens comes from inotify.
#   listing_live_e2e.sh PLAYER OUT-DIR SONG-CACHE
# SONG-CACHE keeps the generated songs (real copies, one inode each) between runs.
set -euo pipefail
player=$(realpath "$1") outdir=$(realpath -m "$2") stage=$(realpath -m "$3")
source "$(dirname "$0")/../support/program_test_lib.sh"
require_tools xvfb-run xdotool sox lame python3
reexec_in_xvfb "$0" "$@"

# Many songs of a second at 32 kb/s (4 KB each): the listing runs for a fair share of a second.
N=10000 under_way=s03000.mp3 last=s10000.mp3
if [[ "$(cat "$stage/.complete" 2>/dev/null)" != "$N" ]]; then
  rm -rf "$stage" && mkdir -p "$stage/Muziek"
  sox -q -V1 -R -n -r 44100 -c 1 -b 16 -t wav - synth 1 sine 440 vol 0.5 | lame --quiet -b 32 - "$stage/.song"
  python3 -c 'import shutil, sys; [shutil.copyfile(sys.argv[1] + "/.song", sys.argv[1] + "/Muziek/s%05d.mp3" % i)
    for i in range(1, int(sys.argv[2]) + 1)]' "$stage" "$N"
  echo "$N" >"$stage/.complete"
fi
fresh_folder "$outdir"
cp "$player" "$stage/tunekist"

# Logs every song the program opens, in order, or "overflow" when the kernel's queue overflowed.
log=$outdir/opens
python3 - "$log" "$stage/Muziek" <<'PY' &
import ctypes, os, struct, sys
fd = ctypes.CDLL(None).inotify_init()
ctypes.CDLL(None).inotify_add_watch(fd, sys.argv[2].encode(), 0x20)  # IN_OPEN
out = open(sys.argv[1], "w", buffering=1)
while True:
    data, at = os.read(fd, 1 << 16), 0
    while at < len(data):
        wd, mask, _, size = struct.unpack_from("iIII", data, at)
        name, at = data[at + 16:at + 16 + size].rstrip(b"\0").decode(), at + 16 + size
        if mask & 0x4000 or name.endswith(".mp3") and not mask & 0x40000000:  # overflow, or a file opened
            out.write("overflow\n" if mask & 0x4000 else name + "\n")
PY
logger_pid=$! player_pid=""
trap 'kill $logger_pid $player_pid 2>/dev/null || true' EXIT
fail() { echo "FAIL: $*; logs in $outdir"; exit 1; }
# Waits up to a minute for a line LINE in the log.
logged() { for _ in $(seq 1200); do grep -q -x "$1" "$log" 2>/dev/null && return 0; sleep 0.05; done; return 1; }
for _ in $(seq 200); do [[ -f "$log" ]] && break; sleep 0.05; done

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null QT_QPA_PLATFORM=xcb
start_program player_pid "$stage" "$outdir/player.log"
# The folder list's last entry is Muziek: End and Return open it; its first row is clicked once
# the listing is under way.
xdotool mousemove --window "$window" 150 80 click 1 key --window "$window" End Return
logged "$under_way" || fail "the listing did not start within a minute"
xdotool mousemove --window "$window" 150 272 click 1
logged "$last" || fail "the listing did not end within a minute"
awk -v under_way="$under_way" -v last="$last" '$0 == "overflow" { exit 3 } $0 == under_way { from = 1 }
  $0 == last { exit found ? 0 : 1 } from && $0 == "s00001.mp3" { found = 1 }' "$log" ||
  fail "the click on a listed song was not handled during the listing (or the log overflowed)"
kill -0 "$player_pid" || fail "the program died"
echo "passed"
