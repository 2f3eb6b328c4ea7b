#!/usr/bin/env bash
# What a player left open costs: the wake-ups per second of all its threads (voluntary context
# switches) and its processor ticks over 5 s, and the state of the sound server's sink, for the
# window before any song, playing, paused and after its queue has played out. Through a private
# PulseAudio with a null sink that suspends an idle sink after a second, under Xvfb, driven with
# the mouse as a person would. Audacious is measured beside it in the same run when installed.
#
#   rest_figures.sh TUNEKIST
# Prints one line per state: "program state wakeups/s ticks sink".
set -euo pipefail
player=$(realpath "$1")
for tool in pulseaudio pactl xvfb-run xdotool sox lame; do
  command -v "$tool" >/dev/null || { echo "rest: $tool is missing" >&2; exit 0; }
done
if [[ -z "${DISPLAY:-}" ]]; then exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"; fi

stage=$(mktemp -d "${TMPDIR:-/tmp}/tunekist-rest.XXXXXX")
runtime=$stage/runtime
mkdir -p "$runtime/pulse" "$stage/Muziek"
printf 'autospawn = no\n' >"$runtime/client.conf"
export HOME="$runtime" XDG_RUNTIME_DIR="$runtime" PULSE_RUNTIME_PATH="$runtime/pulse" \
  PULSE_STATE_PATH="$runtime/state" PULSE_CLIENTCONFIG="$runtime/client.conf" PULSE_SERVER="unix:$runtime/native"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$stage"
}
trap cleanup EXIT

pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
  -L "module-null-sink sink_name=rest rate=44100 channels=2" -L "module-suspend-on-idle timeout=1" \
  -L "module-native-protocol-unix socket=$runtime/native auth-anonymous=1" >"$stage/server.log" 2>&1 &
pids+=($!)
until pactl info >/dev/null 2>&1; do sleep 0.1; done

make_song() {  # name, seconds
  sox -q -V1 -R -n -r 44100 -c 2 -b 16 -t wav - synth "$2" sine 440 vol 0.5 | lame --quiet -b 128 - "$stage/Muziek/$1.mp3"
}
make_song Kort 2
make_song Lang 60
cp "$player" "$stage/tunekist"

sink() { pactl list sinks short | awk '$2 == "rest" { print $NF }'; }
# Waits, at most 10 s, until the sink is in STATE; prints how long it took or "never".
wait_sink() {  # state
  local start=$SECONDS
  for _ in $(seq 100); do
    [[ $(sink) == "$1" ]] && { echo "$((SECONDS - start))"; return; }
    sleep 0.1
  done
  echo never
}
switches() {  # pid: voluntary context switches of all its threads so far
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }'
}
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
measure() {  # program, state, pid: 5 s of the process at rest in that state
  local before_switches before_ticks
  before_switches=$(switches "$3") before_ticks=$(ticks "$3")
  sleep 5
  printf '%s %s %s %s %s\n' "$1" "$2" "$(( ($(switches "$3") - before_switches) / 5 ))" \
    "$(( $(ticks "$3") - before_ticks ))" "$(sink)"
}

W=1225 H=711
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
knop() { click $(((W * 15 / 2 + 600 + 930 * $1 + 450) / 15)) $(((H * 15 - 1830 + 315) / 15)); }
box() { xdotool search --onlyvisible --name '^Tunekist$' 2>/dev/null | head -n 1; }

(cd "$stage" && exec env SDL_AUDIODRIVER=pulseaudio QT_QPA_PLATFORM=xcb ./tunekist) >"$stage/player.log" 2>&1 &
pid=$!
pids+=("$pid")
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1)
xdotool windowsize --sync "$window" $W $H
click 150 80
xdotool key --window "$window" End Return
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
xdotool windowactivate --sync "$(box)" key Return
click 150 272   # Kort, played to its end
knop 0
until [[ -n $(box) ]]; do sleep 0.1; done
xdotool windowactivate --sync "$(box)" key Return
echo "tunekist played out: sink suspended after $(wait_sink SUSPENDED) s" >&2
measure tunekist played-out "$pid"
kill "$pid"

if command -v audacious >/dev/null && command -v audtool >/dev/null; then
  export DBUS_SESSION_BUS_ADDRESS
  eval "$(dbus-launch --sh-syntax)"
  pids+=("$DBUS_SESSION_BUS_PID")
  audacious -H >"$stage/audacious.log" 2>&1 &
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
