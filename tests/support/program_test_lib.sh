# Shared by the shell tests that drive the real program: sourced, never run on its own.

# Under AddressSanitizer the system libraries of the display, the session bus and the sound server
# keep buffers until exit; they are not the program's leaks.
suppressions=$(realpath "$(dirname "${BASH_SOURCE[0]}")/../lsan.supp")
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$suppressions:print_suppressions=0"

# Ends the test as skipped (ctest's 77) when one of the given commands is not installed.
require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
  done
}

# Runs the calling test again inside a virtual display of its own, unless it already runs in one:
#   reexec_in_xvfb [WRAPPER... --] "$0" "$@"
# A wrapper (dbus-run-session --, say) runs around the display. Each test starts its search for a
# free display number at TUNEKIST_XVFB_FROM, so tests started side by side do not race for one.
reexec_in_xvfb() {
  [[ -n "${TUNEKIST_IN_XVFB:-}" ]] && return 0
  local wrapper=()
  if [[ " $* " == *" -- "* ]]; then
    while [[ "$1" != -- ]]; do wrapper+=("$1"); shift; done
    wrapper+=(--)
    shift
  fi
  exec env TUNEKIST_IN_XVFB=1 "${wrapper[@]}" \
    xvfb-run -n "${TUNEKIST_XVFB_FROM:-99}" -a -s "-screen 0 1600x1000x24" "$@"
}

# Empties (or makes) the folder where a test leaves its screenshots and sound.
fresh_folder() { rm -rf "$1" && mkdir -p "$1"; }

# Runs COMMAND every tenth of a second until it succeeds, at most TENTHS times; false if it never did.
poll() {  # tenths, command...
  for _ in $(seq "$1"); do "${@:2}" && return 0; sleep 0.1; done
  return 1
}

# Waits until process PID has used at most one clock tick (10 ms) of processor time in half a
# second, as an idle window with an open sound device does: a folder it was told to list is listed
# then, however long a loaded machine took. Fails when PID is gone or still busy after a minute.
wait_until_idle() {  # PID
  local last=-100 now
  for _ in $(seq 120); do
    now=$(awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null) || break
    (( now - last <= 1 )) && return 0
    last=$now
    sleep 0.5
  done
  echo "FAIL: process $1 never went idle" >&2
  return 1
}

# Starts the copy of the program in STAGE from there, with env's ARGUMENTS (NAME=VALUE, -u NAME),
# its output appended to LOG; sets the variable named PID_VARIABLE to its process at once. Then
# waits for its window, gives it the design size and waits until it is idle; the window is in $window.
start_program() {  # pid-variable, stage, log, [env arguments...]
  (cd "$2" && exec env "${@:4}" ./tunekist) >>"$3" 2>&1 &
  local pid=$!
  printf -v "$1" %s "$pid"
  window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" --name '^Form1$' | head -n 1)
  xdotool windowsize --sync "$window" 1225 711 2>/dev/null || xdotool windowsize "$window" 1225 711
  wait_until_idle "$pid"
}
