#!/usr/bin/env bash
# The real program on a session bus of its own, driven by the desktop's own clients as a panel or
# a media key drives it (every method, property and signal is checked in the program's own process
# by the desktop tests): playerctl reads the song's exact length and address and plays; busctl quits. Without a session bus the player runs as before, silently, and
# its Exit button ends it with status 0.
#   mpris_e2e.sh PLAYER OUT-DIR     (exits 77, skipped, when a tool is missing)
set -euo pipefail
player=$(realpath "$1")
outdir=$(realpath -m "$2")
source "$(dirname "$0")/../support/program_test_lib.sh"

require_tools dbus-run-session playerctl busctl xvfb-run xdotool sox soxi lame
reexec_in_xvfb dbus-run-session -- "$0" "$@"
fresh_folder "$outdir"
work=$(mktemp -d "${TMPDIR:-/tmp}/tunekist-mpris.XXXXXX")
# The player's folder holds only the program and its music; the rest lies beside it, and Qt keeps
# its runtime files there, apart from any other run's.
stage=$work/player wav=$work/wav XDG_RUNTIME_DIR=$work/runtime
export XDG_RUNTIME_DIR
mkdir -p "$stage/Muziek" "$wav" && mkdir -m 700 "$XDG_RUNTIME_DIR"
player_pid="" lone_pid=""
trap 'kill $player_pid $lone_pid 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$player" "$stage/tunekist"
make_song() {  # name, seconds, hz
  sox -q -V1 -R -n -r 44100 -c 2 -b 16 "$wav/$1.wav" synth "$2" sine "$3" vol 0.5
  lame --quiet -b 128 "$wav/$1.wav" "$stage/Muziek/$1.mp3"
}
make_song Alt 4.2171 220
make_song Bas 30 440
# The exact length in microseconds: the samples the song was made of.
length_us() { echo $(( ($(soxi -s "$wav/$1.wav") * 1000000 + 22050) / 44100 )); }

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null QT_QPA_PLATFORM=xcb
start_program player_pid "$stage" "$outdir/player.log"

fail() { echo "FAIL: $*"; exit 1; }
pc() { playerctl -p tunekist "$@" 2>/dev/null || true; }
prints() { [[ "$("${@:2}")" == "$1" ]]; }  # expected, command...
# Waits until COMMAND prints EXPECTED, for at most 20 seconds; says what it printed otherwise.
expect() { poll 200 prints "$2" "${@:3}" || fail "$1 is '$("${@:3}")', expected '$2'"; }  # what, expected, command...

# Open the folder, and once it is listed click Alt and Bas into the playlist.
# (The keys are sent to the window directly, past the pointer's queue: they wait for the click's
# focus to have taken.)
xdotool mousemove --window "$window" 150 80 click 1
sleep 0.4
xdotool key --window "$window" End Return
wait_until_idle "$player_pid"
xdotool mousemove --window "$window" 150 272 click 1
expect "the title before Play" Alt pc metadata xesam:title
xdotool mousemove --window "$window" 150 287 click 1
expect "Alt's length" "$(length_us Alt)" pc metadata mpris:length
expect "Alt's address" "file://$stage/Muziek/Alt.mp3" pc metadata xesam:url
pc play-pause
expect "the status after play-pause" Playing pc status

busctl --user call org.mpris.MediaPlayer2.tunekist /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2 Quit
# The program must end within 20 seconds with status 0, and say nothing where a log is given.
expect_ended() {  # what, pid, [log]
  timeout 20 tail --pid="$2" -f /dev/null || fail "$1: the program still runs"
  wait "$2" || fail "$1: the program ended with status $?"
  [[ -z ${3:-} || ! -s $3 ]] || fail "$1: the program said: $(cat "$3")"
}
expect_ended "the program after Quit" "$player_pid"

# Without a session bus the player starts and ends as before, and says nothing about it.
start_program lone_pid "$stage" "$outdir/player-without-bus.log" -u DBUS_SESSION_BUS_ADDRESS SDL_AUDIODRIVER=dummy
xdotool mousemove --window "$window" 1153 610 click 1  # ExitKnop's middle at the design size
expect_ended "the player without a session bus after Exit" "$lone_pid" "$outdir/player-without-bus.log"
echo passed
