#!/usr/bin/env bash
# The real program on a session bus of its own, driven by the desktop's own clients as a panel or
# a media key would drive it: playerctl plays, pauses, seeks, skips, stops and sets the volume, and
# reads back the status, the position, the volume and the metadata with the song's exact length;
# busctl reads the rest and quits the player. The window's header (read through the accessibility
# bus, as a screen reader reads it) must name the same song, the queue's own advance at the end of
# a song must reach the desktop as a change, Next on the last song must show the window's message,
# and what the audio device received (SDL's disk driver) must be the songs in order at the levels
# the volume set. Without a session bus the player must run as before, silently. Screenshots and
# the sound stay in OUT-DIR.
#
#   mpris_e2e.sh PLAYER OUT-DIR
# Exits 77 (skipped) when a session bus, playerctl, busctl, the X tools, sox, lame or Python's
# D-Bus module is missing.
set -euo pipefail
player=$(realpath "$1")
outdir=$(realpath -m "$2")
source "$(dirname "$0")/../support/program_test_lib.sh"

require_tools dbus-run-session playerctl busctl xvfb-run xdotool import sox soxi lame mpg123 /usr/bin/python3
/usr/bin/python3 -c 'import dbus' 2>/dev/null || { echo "skipped: python3-dbus is missing"; exit 77; }
[[ -e /usr/share/dbus-1/services/org.a11y.Bus.service ]] || { echo "skipped: at-spi2-core is missing"; exit 77; }

reexec_in_xvfb dbus-run-session -- "$0" "$@"
fresh_folder "$outdir"
stage=$(mktemp -d "${TMPDIR:-/tmp}/tunekist-mpris.XXXXXX")
# The player's folder holds only the program and its music; the rest lies beside it.
work=$(mktemp -d "${TMPDIR:-/tmp}/tunekist-mpris-work.XXXXXX")
# The accessibility bus keeps its socket here, apart from any other run's.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  release_capture
  rm -rf "$stage" "$work"
}
trap cleanup EXIT

cp "$player" "$stage/tunekist"
mkdir "$stage/Muziek" "$work/wav"
make_song() {  # name, seconds, hz
  sox -q -V1 -R -n -r 44100 -c 2 -b 16 "$work/wav/$1.wav" synth "$2" sine "$3" vol 0.5
  lame --quiet -b 128 "$work/wav/$1.wav" "$stage/Muziek/$1.mp3"
}
# Alt is paused and moved about, Bas ends by itself, Cello is stopped.
make_song Alt 4.2171 220
make_song Bas 3.5 440
make_song Cello 6.0033 880
# The exact length in microseconds: the samples the song was made of.
length_us() { echo $(( ($(soxi -s "$work/wav/$1.wav") * 1000000 + 22050) / 44100 )); }

heard="$outdir/heard.s16"
capture_disk_sound "$work/device" "$heard"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Under AddressSanitizer the end of the program is checked for leaks; the display connection's
# system libraries keep buffers until exit, and they are not the program's. The list of what was
# let pass is not printed: a player without a session bus must say nothing at all.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")" && pwd)/lsan_display.supp:print_suppressions=0"
# The accessibility bus is started first, so that the window registers on it from the start.
busctl --user call org.a11y.Bus /org/a11y/bus org.a11y.Bus GetAddress >/dev/null
(cd "$stage" && exec ./tunekist) >"$outdir/player.log" 2>&1 &
player_pid=$!
pids+=("$player_pid")

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1)
xdotool windowsize --sync "$window" 1225 711 2>/dev/null || xdotool windowsize "$window" 1225 711
sleep 1

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pc() { playerctl -p tunekist "$@" 2>/dev/null || true; }
shot() { import -window "$window" "$outdir/$1.png"; }
# Waits until COMMAND prints EXPECTED, for at most 10 seconds; says what it printed otherwise.
expect() {  # what, expected, command...
  local what=$1 want=$2 got=""
  shift 2
  for _ in $(seq 100); do
    got=$("$@" 2>/dev/null || true)
    [[ "$got" == "$want" ]] && return 0
    sleep 0.1
  done
  fail "$what is '$got', expected '$want'"
}
prop() {  # interface, property: its value as busctl prints it
  busctl --user get-property org.mpris.MediaPlayer2.tunekist /org/mpris/MediaPlayer2 "org.mpris.MediaPlayer2$1" "$2"
}
# What a screen reader reads in the window: "song" and "time", the header strip's two labels;
# "slider", the volume slider's percentage (100, the loudest, to 0); "count", the song list's "N Songs".
window_says() {
  /usr/bin/python3 - "$1" <<'PY'
import dbus, re, sys
bus = dbus.SessionBus()
a11y = dbus.bus.BusConnection(bus.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(dbus_interface="org.a11y.Bus"))
ACC, PROPS = "org.a11y.atspi.Accessible", "org.freedesktop.DBus.Properties"
def node(name, path):
    return a11y.get_object(name, path)
groups, sliders = [], []
def visit(name, path, depth=0):
    own = []
    for kid in node(name, path).GetChildren(dbus_interface=ACC):
        obj = node(*kid)
        role = obj.GetRoleName(dbus_interface=ACC)
        if role == "label":
            own.append(str(obj.Get(ACC, "Name", dbus_interface=PROPS)))
        elif role == "slider":
            sliders.append(int(obj.Get("org.a11y.atspi.Value", "CurrentValue", dbus_interface=PROPS)))
        elif depth < 8:
            visit(*kid, depth=depth + 1)
    if own:
        groups.append(own)
for app in node("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root").GetChildren(dbus_interface=ACC):
    visit(*app)
if sys.argv[1] == "slider":
    print(*sliders)
if sys.argv[1] == "count":
    print(*[text for group in groups for text in group if re.fullmatch(r"\d+ Songs", text)], end="")
# The header holds exactly two labels, one of them the elapsed time.
for group in groups:
    times = [text for text in group if re.fullmatch(r"(\d\d:)?\d\d:\d\d", text)]
    if len(group) == 2 and len(times) == 1:
        print([text for text in group if text not in times][0] if sys.argv[1] == "song" else
              times[0] if sys.argv[1] == "time" else "", end="")
PY
}

# Open the folder and click Alt, Bas and Cello into the playlist.
xdotool mousemove --window "$window" 150 80 click 1
sleep 0.4
xdotool key --window "$window" End Return
# The rows are clicked once the whole folder is listed, however long a loaded machine takes.
expect "the song list's count" "3 Songs" window_says count
for y in 272 287 302; do xdotool mousemove --window "$window" 150 $y click 1; sleep 0.4; done
shot 01-queued

playerctl -p tunekist --follow metadata --format '{{xesam:title}}' >"$outdir/titles.txt" 2>/dev/null &
pids+=($!)

expect "Identity" 's "Tunekist"' prop "" Identity
expect "DesktopEntry" 's "nl.tunekist.Tunekist"' prop "" DesktopEntry
expect "CanGoPrevious" "b false" prop .Player CanGoPrevious
expect "the status before Play" Stopped pc status
expect "the title before Play" Alt pc metadata xesam:title
expect "Alt's length" "$(length_us Alt)" pc metadata mpris:length
expect "Alt's address" "file://$stage/Muziek/Alt.mp3" pc metadata xesam:url

# Half the volume before the first song: the slider's 50 %, 20 dB down.
pc volume 0.5
expect "the volume" 0.500000 pc volume
expect "the volume on the bus" "d 0.5" prop .Player Volume
expect "the window's volume slider" 50 window_says slider

pc play-pause
expect "the status after play-pause" Playing pc status
expect "the header's song" Alt window_says song
sleep 1.5  # a stretch of Alt to hear
shot 02-playing
pc pause
expect "the status after pause" Paused pc status
pc position 2
expect "the position after moving to 2 s" 2.000000 pc position
expect "the header's time while paused at 2 s" 00:02 window_says time
pc position 1-
expect "the position after 1 s back" 1.000000 pc position
pc position 5-
expect "the position after 5 s back, kept at the start" 0.000000 pc position
shot 03-paused
pc play
expect "the status after play" Playing pc status
sleep 1.5  # more of Alt

pc next
expect "the title after next" Bas pc metadata xesam:title
expect "Bas's length" "$(length_us Bas)" pc metadata mpris:length
expect "the header's song after next" Bas window_says song
expect "the status after next" Playing pc status
pc volume 1
expect "the volume" 1.000000 pc volume
expect "the window's volume slider" 100 window_says slider

# Bas ends by itself and the queue moves on to Cello.
expect "the title after Bas ended" Cello pc metadata xesam:title
expect "the header's song after Bas ended" Cello window_says song
expect "the status after Bas ended" Playing pc status
expect "Cello's length" "$(length_us Cello)" pc metadata mpris:length
sleep 1.5  # a stretch of Cello to hear
pc stop
expect "the status after stop" Stopped pc status
expect "the header's song after stop" Cello window_says song
shot 04-stopped

# Next on the last song: the window's message, over an emptied playlist.
pc next
box=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tunekist$' | head -n 1 || true)
[[ -n "$box" ]] || fail "Next on the last song showed no message"
expect "the metadata after the last song" 'a{sv} 1 "mpris:trackid" o "/org/mpris/MediaPlayer2/TrackList/NoTrack"' \
  prop .Player Metadata
expect "CanPlay with an empty playlist" "b false" prop .Player CanPlay
import -window root "$outdir/05-message.png"
# OK closes the message; the window then takes input again.
for candidate in $(xdotool search --onlyvisible --name '^Tunekist$'); do
  xdotool windowfocus --sync "$candidate" key Return 2>/dev/null || true
done
expect "the open messages after OK" "" xdotool search --onlyvisible --name '^Tunekist$'

busctl --user call org.mpris.MediaPlayer2.tunekist /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2 Raise
busctl --user call org.mpris.MediaPlayer2.tunekist /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2 Quit
ended=no
for _ in $(seq 100); do
  if ! kill -0 "$player_pid" 2>/dev/null; then ended=yes; break; fi
  sleep 0.1
done
[[ $ended == yes ]] || fail "Quit did not end the program"
if [[ $ended == yes ]]; then
  wait "$player_pid" && status=0 || status=$?
  [[ $status -eq 0 ]] || fail "the program ended with status $status"
fi

# Without a session bus the player starts, plays and ends as before, and says nothing about it.
(cd "$stage" && exec env -u DBUS_SESSION_BUS_ADDRESS -u QT_LINUX_ACCESSIBILITY_ALWAYS_ON SDL_AUDIODRIVER=dummy \
  ./tunekist) >"$outdir/player-without-bus.log" 2>&1 &
lone_pid=$!
pids+=("$lone_pid")
lone=$(timeout 60 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1)
xdotool windowsize --sync "$lone" 1225 711 2>/dev/null || xdotool windowsize "$lone" 1225 711
sleep 1
xdotool mousemove --window "$lone" 1153 610 click 1  # Exit
for _ in $(seq 100); do kill -0 "$lone_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$lone_pid" 2>/dev/null; then
  fail "Exit did not end the player without a session bus"
else
  wait "$lone_pid" && status=0 || status=$?
  [[ $status -eq 0 ]] || fail "the player without a session bus ended with status $status"
  [[ ! -s "$outdir/player-without-bus.log" ]] || fail "the player without a session bus said: $(cat "$outdir/player-without-bus.log")"
fi

# Every change of song reached the desktop by itself, the queue's own advance to Cello included.
titles=$(grep -v '^$' "$outdir/titles.txt" | uniq | tr '\n' ' ')
[[ "$titles" == "Alt Bas Cello " ]] || fail "the desktop was told of the songs '$titles', expected 'Alt Bas Cello '"

# What was heard: each song's pitch in order, and each one's level against its decoded file's.
for song in Alt Cello; do mpg123 -q -s "$stage/Muziek/$song.mp3" >"$work/$song.s16"; done
# Alt plays at the slider's 50 %, 20 dB down; Cello at 100 %, its decoded level.
result=$(/usr/bin/python3 "$(dirname "$0")/../support/tones_heard.py" "$heard" \
  220 "$work/Alt.s16" -20 880 "$work/Cello.s16" 0)
pitches=$(sed -n 1p <<<"$result")
echo "heard: $pitches Hz"
sed -n '2,$p' <<<"$result"
[[ "$pitches" == "220 440 880" ]] || fail "heard '$pitches' Hz, expected 220 440 880 (Alt, Bas, Cello)"
grep -q wrong <<<"$result" && fail "a song was heard at the wrong level"

if [[ $failures -ne 0 ]]; then
  echo "$failures failures; screenshots in $outdir"
  exit 1
fi
echo "passed; screenshots in $outdir"
