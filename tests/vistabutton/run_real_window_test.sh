#!/usr/bin/env bash
# Runs the real-window test on a virtual X display; skipped (exit 77) where the tools are missing.
set -euo pipefail
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
# The display connection's system libraries keep buffers until exit; they are not ours.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(dirname "$0")/lsan_display.supp"
QT_QPA_PLATFORM=xcb exec xvfb-run -a -s "-screen 0 1600x1000x24" "$@"
