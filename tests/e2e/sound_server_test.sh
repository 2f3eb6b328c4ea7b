#!/usr/bin/env bash
# The real program under Xvfb, driven with the mouse and keys, playing through a PulseAudio server
# of the test's own whose null sink is recorded through its monitor. A song is heard whole, at its
# pitch and level; nothing after Stop; whenever nothing sounds the sink may suspend. The server
# ends while a song plays: the player says so and answers, and Play plays once the server is back.
# SIGTERM during a song ends the program by that signal. A player started with no server lists a
# folder, says so only when Play is pressed, and ends with status 0 by Exit. Pictures and
# recordings stay in OUT-DIR. The server runs without the default configuration, never idle-exiting,
# autospawn off, with HOME and its runtime in a private folder.
#   sound_server_test.sh PLAYER OUT-DIR     (exits 77, skipped, when a tool is missing)
set -euo pipefail
player=$(realpath "$1")
outdir=$(realpath -m "$2")
source "$(dirname "$0")/../support/program_test_lib.sh"
require_tools pulseaudio pactl parec xvfb-run xdotool import sox lame python3
reexec_in_xvfb "$0" "$@"
fresh_folder "$outdir"
stage=$(mktemp -d "${TMPDIR:-/tmp}/tunekist-pulse.XXXXXX")
runtime=$(mktemp -d "${TMPDIR:-/tmp}/tunekist-pulse-runtime.XXXXXX")
mkdir -p "$runtime/pulse"
printf 'autospawn = no\n' >"$runtime/client.conf"
export HOME="$runtime" XDG_RUNTIME_DIR="$runtime" PULSE_RUNTIME_PATH="$runtime/pulse" \
  PULSE_STATE_PATH="$runtime/state" PULSE_CLIENTCONFIG="$runtime/client.conf" \
  PULSE_SERVER="unix:$runtime/native"

server_pid="" recorder_pid="" player_pid=""
cleanup() {
  # A player left running has failed already; one that no longer ends on SIGTERM must not hang here.
  kill -KILL $player_pid 2>/dev/null || true
  kill $recorder_pid $server_pid 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$stage" "$runtime"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Waits, at most TENTHS tenths of a second, until CONDITION holds; fails with WHAT otherwise.
wait_for() { poll "$2" "${@:3}" || { fail "$1"; return 1; }; }  # what, tenths, condition...

start_server() {
  # norewinds: a null sink woken from suspend otherwise takes no data for its first 2 s.
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
    -L "module-null-sink sink_name=tunekist rate=44100 channels=2 norewinds=1" -L "module-suspend-on-idle timeout=1" \
    -L "module-native-protocol-unix socket=$runtime/native auth-anonymous=1" >>"$outdir/server.log" 2>&1 &
  server_pid=$!
  wait_for "the sound server did not start" 100 server_answers
}
server_answers() { pactl info >/dev/null 2>&1; }
stop_server() {
  kill "$server_pid"
  wait "$server_pid" 2>/dev/null || true
  server_pid=""
}
bytes() { stat -c %s "$outdir/$recording.raw"; }
recording_grew() { (($(bytes) >= $1)); }
player_streams() { [[ $(pactl list sink-inputs short | wc -l) -eq $1 ]]; }
sink_is() { [[ $(pactl list sinks short | awk '$2 == "tunekist" { print $NF }') == "$1" ]]; }
# The player closes its device at once, so the sink suspends after the server's idle second.
expect_suspended() { wait_for "$1: the sink did not suspend within 5 s" 50 sink_is SUSPENDED; }
record() {  # name: records the sink's monitor into OUT-DIR/name.raw until end_record
  recording=$1
  parec -d tunekist.monitor --format=s16le --rate=44100 --channels=2 --latency-msec=20 \
    >"$outdir/$1.raw" 2>>"$outdir/parec.log" &
  recorder_pid=$!
  wait_for "the recorder of $1 did not start" 100 bash -c '[[ -n $(pactl list source-outputs short) ]]'
}
# Ends the recording once the player has no stream left and a tenth of a second more is recorded.
end_record() {
  wait_for "the player's stream did not end" 100 player_streams 0
  wait_for "the recording did not go on" 100 recording_grew $(($(bytes) + 17640))
  kill "$recorder_pid"
  wait "$recorder_pid" 2>/dev/null || true
  recorder_pid=""
}
# Waits until SECONDS more of the sink are recorded.
record_for() { wait_for "the recording stands still" 100 recording_grew $(($(bytes) + $1 * 176400)); }

# A recording's stretches of sound (silences under a second inside one are a device's underrun, a
# single silent frame a wave crossing zero) must be: none (HZ 0), or one at HZ; given a SONG, as
# long as its decoded samples within a device period (2048 frames) and at their level within 0.2 dB.
expect_heard() {  # what, recording, hz, [song]
  echo "$1:"
  python3 - "$outdir/$2.raw" "$3" "${4:+$stage/$4.wav}" <<'PY' || fail "$1"
import array, math, sys, wave
with open(sys.argv[1], "rb") as f:
    heard = array.array("h", f.read())
hz, wav = float(sys.argv[2]), sys.argv[3]
silent = [heard[2 * i] == 0 == heard[2 * i + 1] for i in range(len(heard) // 2)]
stretches, gap = [], 0
for i, quiet in enumerate(silent):
    if quiet and ((i > 0 and silent[i - 1]) or (i + 1 < len(silent) and silent[i + 1])):
        gap += 1
        continue
    if not stretches or gap > 44100:
        stretches.append([])
    gap = 0
    stretches[-1].append(heard[2 * i])
level = lambda s: 10 * math.log10(sum((v / 32768.0) ** 2 for v in s) / len(s))
pitch = lambda s: sum(1 for a, b in zip(s, s[1:]) if a < 0 <= b) * 44100 / len(s)
print("  heard", [(len(s), round(pitch(s), 1), round(level(s), 3)) for s in stretches])
if hz == 0:
    sys.exit(0 if not stretches else 1)
ok = len(stretches) == 1 and abs(pitch(stretches[0]) - hz) <= 2
if ok and wav:
    with wave.open(wav) as w:
        decoded = array.array("h", w.readframes(w.getnframes()))
    print("  the song has", len(decoded) // 2, "frames at", round(level(decoded[0::2]), 3), "dB")
    ok = abs(len(stretches[0]) - len(decoded) // 2) <= 2048 and abs(level(stretches[0]) - level(decoded[0::2])) <= 0.2
sys.exit(0 if ok else 1)
PY
}

# The song list starts in the program's own folder, so a copy stands beside the music folder.
cp "$player" "$stage/tunekist"
mkdir "$stage/Muziek"
make_song() {  # name, seconds, hz
  sox -q -V1 -R -n -r 44100 -c 2 -b 16 -t wav - synth "$2" sine "$3" vol 0.5 | lame --quiet -b 128 - "$stage/Muziek/$1.mp3"
  lame --quiet --decode "$stage/Muziek/$1.mp3" "$stage/$1.wav"
}
make_song "Een" 3 440
make_song "Lang" 30 660

W=1225 H=711  # the design size, which start_program gives the window
start_player() { start_program player_pid "$stage" "$outdir/player.log" SDL_AUDIODRIVER=pulseaudio QT_QPA_PLATFORM=xcb; }
player_ended() { ! kill -0 "$player_pid" 2>/dev/null; }
sigterm() { kill -TERM "$player_pid"; }
end_player() {  # what, how (exit_knop or sigterm), the status it must end with
  $2
  wait_for "$1: the program did not end" 100 player_ended
  local status=0
  wait "$player_pid" 2>/dev/null || status=$?
  [[ $status -eq $3 ]] || fail "$1: the program ended with status $status, expected $3"
  player_pid=""
}

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.4; }
# The command buttons: Knop(i) at W/2 + 600 + 930 i twips from the left, H - 1830 from the top,
# 900 x 630 twips; ExitKnop at W - 1530. 15 twips to the pixel; clicks land in the middle.
knop() { click $(((W * 15 / 2 + 600 + 930 * $1 + 450) / 15)) $(((H * 15 - 1830 + 315) / 15)); }
exit_knop() { click $(((W * 15 - 1530 + 450) / 15)) $(((H * 15 - 1830 + 315) / 15)); }
open_music() {  # the folder list's last entry is the music folder; Return lists its songs
  click 150 80
  xdotool key --window "$window" End Return
  wait_until_idle "$player_pid"
}
song() { click 150 $((272 + 15 * $1)); }  # the song list's rows: 0 Een, 1 Lang
box_open() { [[ -n $(xdotool search --onlyvisible --name '^Tunekist$' 2>/dev/null) ]]; }
box_closed() { ! box_open; }
# The program's message box (caption Tunekist): waits for it, keeps its picture, presses OK, and
# the window must take the key.
answer_box() {  # what, picture
  wait_for "$1: no message box" 150 box_open || return 0
  local box
  box=$(xdotool search --onlyvisible --name '^Tunekist$' | head -n 1)
  import -window "$box" "$outdir/$2.png"
  xdotool windowactivate --sync "$box" 2>/dev/null || true
  xdotool key Return
  wait_for "$1: the message box did not close on Return: the window does not answer" 50 box_closed
}
no_box() { box_closed || fail "$1: a message box is open"; }

start_server
start_player
open_music
expect_suspended "before the first song"

# Lang plays and the server ends: the song stops, the message comes, the window answers; once the
# server is back, Play plays, and nothing is heard after Stop.
song 1
knop 0
wait_for "Lang did not start" 100 sink_is RUNNING
stop_server
answer_box "the server ended while a song played" 01-server-gone
! player_ended || fail "the player ended with the server"
start_server
record back
knop 0
record_for 2
knop 5 # Stop
end_record
record after-stop
record_for 1
end_record
expect_suspended "stopped"
expect_heard "Play once the server was back" back 660
expect_heard "after Stop" after-stop 0
no_box "after Play with the server back"
# SIGTERM ends it while a song plays: the audio library has not taken the signal over.
knop 0
wait_for "Lang did not start again" 100 sink_is RUNNING
end_player "SIGTERM while a song plays" sigterm 143

# A player started with no server lists a folder without a word, says so when Play is pressed,
# and plays once a server runs.
stop_server
start_player
open_music
no_box "without a server, before Play"
song 0
knop 0
answer_box "Play without a server" 02-no-server-play
no_box "after the message"
start_server
record first-server
knop 0
answer_box "end of the queue once the server came" 03-queue-ended
end_record
expect_heard "Een once the server came" first-server 440 Een
end_player "Exit" exit_knop 0

if [[ $failures -ne 0 ]]; then
  echo "$failures failures; pictures and recordings in $outdir"
  exit 1
fi
echo "passed; pictures and recordings in $outdir"
