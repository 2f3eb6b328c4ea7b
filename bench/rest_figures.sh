#!/usr/bin/env bash
# What a player left open costs: the wake-ups per second of all its threads (voluntary context
# switches) and its processor ticks over 5 s, and the state of the sound server's sink, for the
# window before any song, playing, paused and after its queue has played out. Through a private
# PulseAudio with a null sink that suspends an idle sink after a second, under Xvfb, driven with
# the mouse as a person would. Audacious is measured beside it in the same run when installed.
#
#   rest_figures.sh TUNEKIST [WINDOW_PROBE]
# Prints one line per state: "program state wakeups/s ticks sink". With the bench's window probe, it
# also prints, three rounds each, what starting from rest and changing the sample rate cost the
# window through the same server: the longest event-loop gap at Play, the time until the device
# took the first samples, the gaps at Next (44.1 to 48 kHz) and at a song's end (48 to 22.05 kHz);
# once as the program runs (SDL loaded at the first Play) and once with SDL loaded at start.
set -euo pipefail
player=$(realpath "$1")
probe=${2:+$(realpath "$2")}
for tool in pulseaudio pactl xvfb-run xdotool sox lame; do
  command -v "$tool" >/dev/null || { echo "rest: $tool is missing" >&2; exit 0; }
done
if [[ -z "${DISPLAY:-}" ]]; then exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"; fi

# The player's folder holds only the program and its music; the server's files lie beside it.
stage=$(mktemp -d "${TMPDIR:-/tmp}/tunekist-rest.XXXXXX")
runtime=$(mktemp -d "${TMPDIR:-/tmp}/tunekist-rest-runtime.XXXXXX")
mkdir -p "$runtime/pulse" "$stage/Muziek"
printf 'autospawn = no\n' >"$runtime/client.conf"
export HOME="$runtime" XDG_RUNTIME_DIR="$runtime" PULSE_RUNTIME_PATH="$runtime/pulse" \
  PULSE_STATE_PATH="$runtime/state" PULSE_CLIENTCONFIG="$runtime/client.conf" PULSE_SERVER="unix:$runtime/native"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$stage" "$runtime"
}
trap cleanup EXIT

pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
  -L "module-null-sink sink_name=rest rate=44100 channels=2" -L "module-suspend-on-idle timeout=1" \
  -L "module-null-sink sink_name=probe rate=44100 channels=2 norewinds=1" \
  -L "module-native-protocol-unix socket=$runtime/native auth-anonymous=1" >"$runtime/server.log" 2>&1 &
pids+=($!)
until pactl info >/dev/null 2>&1; do sleep 0.1; done

make_song() {  # name, seconds
  sox -q -V1 -R -n -r 44100 -c 2 -b 16 -t wav - synth "$2" sine 440 vol 0.5 | lame --quiet -b 128 - "$stage/Muziek/$1.mp3"
}
make_song Kort 2
make_song Lang 60
mkdir "$runtime/Rates"  # beside the player's folder: the window opens the last folder of its own
for song in a:44100 b:48000 c:22050; do
  sox -q -V1 -R -n -r "${song#*:}" -c 2 -b 16 -t wav - synth 2 sine 440 vol 0.3 |
    lame --quiet -b 128 - "$runtime/Rates/${song%:*}.mp3"
done
cp "$player" "$stage/tunekist"

sink() { pactl list sinks short | awk -v name="${1:-rest}" '$2 == name { print $NF }'; }
# Waits, at most 10 s, until the sink (rest, or SINK) is in STATE; prints how long it took or "never".
wait_sink() {  # state [sink]
  local start=$SECONDS
  for _ in $(seq 100); do
    [[ $(sink "${2:-rest}") == "$1" ]] && { echo "$((SECONDS - start))"; return; }
    sleep 0.1
  done
  echo never
}
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
per_thread() {  # pid: "thread-id name switches" per thread
  for task in /proc/"$1"/task/*; do
    echo "${task##*/} $(tr ' ' _ <"$task/comm") $(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task/status")"
  done 2>/dev/null
}
measure() {  # program, state, pid: 5 s of the process at rest in that state
  local before_ticks
  # The pointer rests off the buttons, as a person's hand leaves them: a button under the pointer
  # follows it with its 10 ms hover timer.
  [[ $1 == tunekist ]] && xdotool mousemove --window "$window" 600 20
  before_ticks=$(ticks "$3")
  per_thread "$3" | sort >"$runtime/threads-before"
  sleep 5
  # Threads that lived through the 5 s (one that ended takes its count along); the busiest go to
  # stderr, to say where the wake-ups come from.
  per_thread "$3" | sort | join - "$runtime/threads-before" >"$runtime/threads"
  awk -v what="$1 $2" '$3 - $5 > 5 { printf "  %s: %s %d/s\n", what, $2, ($3 - $5) / 5 }' "$runtime/threads" >&2
  printf '%s %s %s %s %s\n' "$1" "$2" "$(awk '{ n += $3 - $5 } END { printf "%.1f", n / 5 }' "$runtime/threads")" \
    "$(( $(ticks "$3") - before_ticks ))" "$(sink)"
}

W=1225 H=711
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
knop() { click $(((W * 15 / 2 + 600 + 930 * $1 + 450) / 15)) $(((H * 15 - 1830 + 315) / 15)); }
box() { xdotool search --onlyvisible --name '^Tunekist$' 2>/dev/null | head -n 1; }

(cd "$stage" && exec env SDL_AUDIODRIVER=pulseaudio QT_QPA_PLATFORM=xcb ./tunekist) >"$runtime/player.log" 2>&1 &
pid=$!
pids+=("$pid")
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1)
xdotool windowsize --sync "$window" $W $H
click 150 80
sleep 0.4  # the keys go to the window directly: the click's focus first
xdotool key --window "$window" End Return
sleep 2
wait_sink SUSPENDED >/dev/null
measure tunekist before-any-song "$pid"
click 150 $((272 + 15 * 1))   # Lang
knop 0
wait_sink RUNNING >/dev/null
measure tunekist playing "$pid"
knop 1
echo "tunekist paused: sink suspended after $(wait_sink SUSPENDED) s" >&2
measure tunekist paused "$pid"
knop 4   # Next on the last song: the queue is empty
until [[ -n $(box) ]]; do sleep 0.1; done
xdotool key Return
click 150 272   # Kort, played to its end
knop 0
until [[ -n $(box) ]]; do sleep 0.1; done
xdotool key Return
echo "tunekist played out: sink suspended after $(wait_sink SUSPENDED) s" >&2
measure tunekist played-out "$pid"
kill "$pid"

if [[ -n $probe ]]; then
  for preload in "" libSDL2-2.0.so.0; do
    how="SDL loaded at Play"
    [[ -n $preload ]] && how="SDL loaded at start"
    for _ in 1 2 3; do
      wait_sink SUSPENDED probe >/dev/null
      # On a sink of its own without rewinds: a null sink woken from suspend otherwise takes no
      # data for its first 2 s (its idle block; unlike a sound card's sink it does not rewind).
      read -r play first next end _ < <(env ${preload:+LD_PRELOAD=$preload} SDL_AUDIODRIVER=pulseaudio PULSE_SINK=probe \
        QT_QPA_PLATFORM=xcb "$probe" change "$runtime/Rates" 2>/dev/null)
      printf 'tunekist %s: gap at Play %s ms, first samples %s ms, gap at Next %s ms, at the end %s ms\n' \
        "$how" "$play" "$first" "$next" "$end"
    done
  done
fi

if command -v audacious >/dev/null && command -v audtool >/dev/null; then
  # Audacious is driven through audtool on a session bus of its own.
  dbus-daemon --session --fork --print-address=1 --print-pid=1 --address="unix:path=$runtime/bus" >"$runtime/bus.txt"
  pids+=("$(sed -n 2p "$runtime/bus.txt")")
  export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p "$runtime/bus.txt")
  audacious -H >"$runtime/audacious.log" 2>&1 &
  apid=$!
  pids+=("$apid")
  until audtool version >/dev/null 2>&1; do sleep 0.1; done
  wait_sink SUSPENDED >/dev/null
  measure audacious before-any-song "$apid"
  audtool playlist-addurl "$stage/Muziek/Lang.mp3"
  audtool playback-play
  wait_sink RUNNING >/dev/null
  measure audacious playing "$apid"
  audtool playback-pause
  echo "audacious paused: sink suspended after $(wait_sink SUSPENDED) s" >&2
  measure audacious paused "$apid"
  audtool playback-stop
  audtool playlist-clear
  audtool playlist-addurl "$stage/Muziek/Kort.mp3"
  audtool playback-play
  until [[ $(audtool playback-status) == stopped ]]; do sleep 0.1; done
  echo "audacious played out: sink suspended after $(wait_sink SUSPENDED) s" >&2
  measure audacious played-out "$apid"
fi
