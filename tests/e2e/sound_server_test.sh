#!/usr/bin/env bash
# The real program playing through a real PulseAudio server of the test's own, used only with the
# mouse and keys through xdotool under Xvfb. The server's null sink is recorded through its monitor
# with parec, and what was heard is checked against the decoded songs: each song's length within
# one device period, its level within 0.2 dB at two slider settings, its pitch, and no sound after
# Stop. Whenever no song sounds (before the first, paused, stopped, played out) the player lets the
# server suspend its sink. Then the server is ended while a song plays: the player stops the song and says so in its
# message box, the window answers, and once the server is back Play plays again. Last, a player
# started while no server runs opens, lists a folder, and says so only when Play is pressed.
# The screenshots and recordings stay in OUT-DIR to be looked at.
#
#   sound_server_test.sh PLAYER OUT-DIR
# Exits 77 (skipped) when pulseaudio, pactl, parec, xvfb-run, xdotool, ImageMagick, sox, lame or
# python3 is missing.
#
# The server: `pulseaudio -n` (no default configuration) with a null sink and the native protocol
# on a socket in a private runtime folder, in the foreground (--daemonize=no) in the background of
# this script, never exiting on idle, with autospawn off for every client (PULSE_CLIENTCONFIG), and
# HOME pointed into the same folder so that nothing of it lands in the user's home. As root
# (CI), pulseaudio warns that it is not meant to run as root but runs in this per-user mode all
# the same; --system is neither needed nor used.
set -euo pipefail
player=$(realpath "$1")
outdir=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)

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
  for pid in "$player_pid" "$recorder_pid" "$server_pid"; do
    [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$stage" "$runtime"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

start_server() {
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
    -L "module-null-sink sink_name=tunekist rate=44100 channels=2" -L "module-suspend-on-idle timeout=1" \
    -L "module-native-protocol-unix socket=$runtime/native auth-anonymous=1" \
    >>"$outdir/server.log" 2>&1 &
  server_pid=$!
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "the sound server did not start"; cat "$outdir/server.log"; exit 1
}
stop_server() {
  kill "$server_pid"
  wait "$server_pid" 2>/dev/null || true
  server_pid=""
}
# Waits, at most 10 s, until CONDITION holds; fails with WHAT otherwise.
wait_for() {  # what, condition...
  local what=$1
  shift
  for _ in $(seq 100); do
    "$@" && return 0
    sleep 0.1
  done
  fail "$what"
}
bytes() { stat -c %s "$outdir/$recording.raw"; }
recording_grew() { (($(bytes) >= $1)); }
player_streams() { [[ $(pactl list sink-inputs short | wc -l) -eq $1 ]]; }
sink_is() { [[ $(pactl list sinks short | awk '$2 == "tunekist" { print $NF }') == "$1" ]]; }
# The sink suspends once nothing plays: the player has closed its device within the server's
# second of idleness and a little more.
expect_suspended() {  # when
  for _ in $(seq 50); do sink_is SUSPENDED && return 0; sleep 0.1; done
  fail "$1: the sink is $(pactl list sinks short | awk '$2 == "tunekist" { print $NF }'), not SUSPENDED within 5 s"
}
record() {  # name: records the sink's monitor into OUT-DIR/name.raw until end_record
  recording=$1
  parec -d tunekist.monitor --format=s16le --rate=44100 --channels=2 --latency-msec=20 \
    >"$outdir/$1.raw" 2>>"$outdir/parec.log" &
  recorder_pid=$!
  wait_for "the recorder of $1 did not start" bash -c '[[ -n $(pactl list source-outputs short) ]]'
}
# Ends the recording once the player has no stream left and a tenth of a second more is recorded.
end_record() {
  wait_for "the player's stream did not end" player_streams 0
  wait_for "the recording did not go on" recording_grew $(($(bytes) + 17640))
  kill "$recorder_pid"
  wait "$recorder_pid" 2>/dev/null || true
  recorder_pid=""
}
# Waits until SECONDS more of the sink are recorded.
record_for() { wait_for "the recording stands still" recording_grew $(($(bytes) + $1 * 176400)); }

# The song list starts in the program's own folder, so a copy stands beside the music folder.
cp "$player" "$stage/tunekist"
mkdir "$stage/Muziek"
make_song() {  # name, seconds, hz
  sox -q -V1 -R -n -r 44100 -c 2 -b 16 -t wav - synth "$2" sine "$3" vol 0.5 | lame --quiet -b 128 - "$stage/Muziek/$1.mp3"
  lame --quiet --decode "$stage/Muziek/$1.mp3" "$stage/$1.wav"
}
make_song "Een" 3 440
make_song "Lang" 30 660
make_song "Twee" 2 880

start_player() {
  # Under AddressSanitizer the end of the program is checked for leaks; the display connection's
  # and the sound server connection's system libraries keep buffers until exit, not the program's.
  (cd "$stage" && exec env SDL_AUDIODRIVER=pulseaudio QT_QPA_PLATFORM=xcb \
    LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$here/lsan_sound_server.supp" \
    ./tunekist) >>"$outdir/player.log" 2>&1 &
  player_pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1)
  xdotool windowsize --sync "$window" $W $H 2>/dev/null || xdotool windowsize "$window" $W $H
  wait_until_idle "$player_pid"
}
end_player() {  # Exit, and the program must end
  exit_knop
  for _ in $(seq 100); do
    kill -0 "$player_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$player_pid" 2>/dev/null; then
    fail "$1: Exit did not end the program"
    kill -9 "$player_pid"
  fi
  local status=0
  wait "$player_pid" 2>/dev/null || status=$?
  [[ $status -eq 0 ]] || fail "$1: the program ended with status $status"
  player_pid=""
}

W=1225 H=711
shot() { import -window "$window" "$outdir/$1.png"; }
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
song() { click 150 $((272 + 15 * $1)); }  # the song list's rows: 0 Een, 1 Lang, 2 Twee
# The program's message box (caption Tunekist): waits for it, keeps its picture, presses OK.
answer_box() {  # what, picture
  local box=""
  for _ in $(seq 150); do
    box=$(xdotool search --onlyvisible --name '^Tunekist$' 2>/dev/null | head -n 1) && [[ -n $box ]] && break
    sleep 0.1
  done
  if [[ -z $box ]]; then
    fail "$1: no message box"
    return
  fi
  import -window "$box" "$outdir/$2.png"
  xdotool windowactivate --sync "$box" 2>/dev/null || true
  xdotool key Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Tunekist$' >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "$1: the message box did not close on Return: the window does not answer"
}
no_box() {
  ! xdotool search --onlyvisible --name '^Tunekist$' >/dev/null 2>&1 || fail "$1: a message box is open"
}
region() {  # picture, geometry -> a hash of the pixels there
  convert "$outdir/$1.png" -crop "$2" +repage -depth 8 rgb:- | md5sum | cut -d' ' -f1
}

# What a recording holds: its stretches of sound (silences under a second inside one are
# a device's underrun, not a song's end) as "frames hz level_dB", and each song's own level.
heard() {  # recording -> one line per stretch
  python3 - "$outdir/$1.raw" <<'PY'
import array, math, sys
samples = array.array("h")
with open(sys.argv[1], "rb") as f:
    samples.frombytes(f.read())
left, right = samples[0::2], samples[1::2]
n = min(len(left), len(right))
silent = [left[i] == 0 and right[i] == 0 for i in range(n)]
stretches, current, gap = [], None, 0
for i in range(n):
    # A single silent frame is a wave crossing zero; two in a row are silence.
    quiet = silent[i] and ((i > 0 and silent[i - 1]) or (i + 1 < n and silent[i + 1]))
    if quiet:
        gap += 1
        if current is not None and gap > 44100:
            stretches.append(current)
            current = None
        continue
    gap = 0
    if current is None:
        current = []
    current.append(left[i])
if current is not None:
    stretches.append(current)
for s in stretches:
    energy = sum((v / 32768.0) ** 2 for v in s)
    rising = sum(1 for a, b in zip(s, s[1:]) if a < 0 <= b)
    print(len(s), round(rising * 44100 / len(s), 1), round(10 * math.log10(energy / len(s)), 3))
PY
}
decoded_db() {  # song -> the RMS of its decoded left channel in dB
  python3 - "$stage/$1.wav" <<'PY'
import array, math, sys, wave
with wave.open(sys.argv[1]) as w:
    samples = array.array("h")
    samples.frombytes(w.readframes(w.getnframes()))
left = samples[0::2]
print(round(10 * math.log10(sum((v / 32768.0) ** 2 for v in left) / len(left)), 3))
PY
}
expect_tone() {  # what, hz, stretch lines...: one stretch, at that pitch
  local what=$1 hz=$2
  shift 2
  [[ $# -eq 1 ]] && python3 -c "import sys; sys.exit(0 if abs(float('$1'.split()[1]) - $hz) <= 2 else 1)" ||
    fail "$what: heard '$*', expected one stretch at $hz Hz"
}
expect_song() {  # what, stretch line, frames, hz, level dB
  local frames hz db
  read -r frames hz db <<<"$2"
  echo "$1: heard $frames frames at $hz Hz, $db dB"
  python3 -c "import sys; sys.exit(0 if abs($frames - $3) <= 2048 else 1)" ||
    fail "$1: $frames frames heard, the song has $3 (a device period is 2048)"
  python3 -c "import sys; sys.exit(0 if abs($hz - $4) <= 2 else 1)" || fail "$1: heard $hz Hz, the song is $4 Hz"
  python3 -c "import sys; sys.exit(0 if abs($db - ($5)) <= 0.2 else 1)" || fail "$1: heard $db dB, expected $5 dB"
}

start_server
start_player
shot 01-start
open_music
shot 02-folder
expect_suspended "before the first song"
[[ $(region 01-start 1145x30+40+641) != $(region 02-folder 1145x30+40+641) ]] || fail "the folder's totals did not show"

# Een at full volume, to its end.
song 0
record een
knop 0
answer_box "end of the queue after Een" 03-queue-ended
end_record
expect_suspended "the queue played out"
mapfile -t stretches < <(heard een)
[[ ${#stretches[@]} -eq 1 ]] || fail "Een: ${#stretches[@]} stretches of sound instead of one: ${stretches[*]}"
expect_song "Een at Volume 100%" "${stretches[0]:-0 0 0}" $((3 * 44100)) 440 "$(decoded_db Een)"

# The slider ten steps down (Volume 50%, 20 dB softer), then Twee to its end.
click 611 55
for _ in $(seq 10); do xdotool key --window "$window" Down; done
sleep 0.3
song 2
record twee
knop 0
answer_box "end of the queue after Twee" 04-queue-ended
end_record
mapfile -t stretches < <(heard twee)
[[ ${#stretches[@]} -eq 1 ]] || fail "Twee: ${#stretches[@]} stretches of sound instead of one: ${stretches[*]}"
expect_song "Twee at Volume 50%" "${stretches[0]:-0 0 0}" $((2 * 44100)) 880 \
  "$(python3 -c "print($(decoded_db Twee) - 20)")"

# Lang, stopped after a while: nothing is heard after Stop.
song 1
record lang
knop 0
record_for 2
knop 5   # Stop
end_record
record after-stop
record_for 1
end_record
expect_suspended "stopped"
mapfile -t stretches < <(heard lang)
expect_tone "Lang before Stop" 660 "${stretches[@]}"
[[ -z $(heard after-stop) ]] || fail "sound after Stop: $(heard after-stop)"

# Paused, the song lets the sink suspend; it plays on from there.
knop 0
wait_for "Lang did not start" sink_is RUNNING
knop 1   # Pauze
expect_suspended "paused"
knop 1

# The server ends while Lang plays: the song stops, the message comes, the window answers.
wait_for "Lang did not play on" sink_is RUNNING
stop_server
answer_box "the server ended while a song played" 05-server-gone
shot 06-after-the-message
kill -0 "$player_pid" 2>/dev/null || fail "the player ended with the server"
# Back again: Play plays.
start_server
record back
knop 0
record_for 2
knop 5
end_record
mapfile -t stretches < <(heard back)
expect_tone "Play once the server was back" 660 "${stretches[@]}"
no_box "after Play with the server back"
end_player "with a server"

# A player started while no server runs: it opens and lists folders without a word, and says so
# when Play is pressed; once a server runs, Play plays.
stop_server
start_player
shot 07-no-server-start
open_music
shot 08-no-server-folder
[[ $(region 07-no-server-start 1145x30+40+641) != $(region 08-no-server-folder 1145x30+40+641) ]] ||
  fail "without a server the folder's totals did not show"
no_box "without a server, before Play"
song 0
knop 0
answer_box "Play without a server" 09-no-server-play
no_box "after the message"
start_server
record first-server
knop 0
answer_box "end of the queue once the server came" 10-queue-ended
end_record
mapfile -t stretches < <(heard first-server)
[[ ${#stretches[@]} -eq 1 ]] || fail "Een once the server came: heard ${stretches[*]:-nothing}"
[[ ${#stretches[@]} -eq 0 ]] || expect_song "Een once the server came" "${stretches[0]}" $((3 * 44100)) 440 "$(decoded_db Een)"
end_player "started without a server"

if [[ $failures -ne 0 ]]; then
  echo "$failures failures; screenshots and recordings in $outdir"
  exit 1
fi
echo "passed; screenshots and recordings in $outdir"
