#!/usr/bin/env bash
# Ends the real program on a virtual X server, the way a person or the system would:
#   program_test.sh PROGRAM CLOSE-REQUEST sigterm|closebox|exit
# sigterm must end it by that signal; the close box and the Exit button must end it normally.
# Exits 77 (skipped) when the X tools are missing.
set -u
program=$1 close_request=$2 how=$3
source "$(dirname "$0")/../support/program_test_lib.sh"
require_tools xvfb-run xauth xdotool
reexec_in_xvfb "$0" "$@"

export SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
# Under AddressSanitizer the end of the program is checked for leaks; the display connection's
# system libraries keep buffers until exit, and they are not the program's.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(dirname "$0")/lsan_display.supp"
"$program" &
pid=$!
fail() { echo "FAIL: $*"; kill -KILL "$pid" 2>/dev/null; exit 1; }

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1)
[[ -n "$window" ]] || fail "the window Form1 never showed"
kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"
expected=0
case "$how" in
  sigterm) kill -TERM "$pid" && expected=$((128 + 15)) ;;
  closebox) "$close_request" "$window" || fail "could not ask the window to close" ;;
  # Exit stands W - 1530 twips from the left and H - 1830 from the top, 900 x 630 twips: its
  # middle is 72 pixels left of the right edge and 101 up from the bottom (no frame here).
  exit)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" $((WIDTH - 72)) $((HEIGHT - 101)) click 1
    ;;
  *) fail "unknown way to end: $how" ;;
esac
for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program is still running after $how"
wait "$pid"
status=$?
[[ $status -eq $expected ]] || fail "$how ended the program with status $status, expected $expected"
echo "$how ended the program with status $status"
