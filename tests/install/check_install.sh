#!/usr/bin/env bash
# Installs the built player into a scratch root the way a package would and checks that a Linux
# desktop finds everything where it looks. Then the installed launcher is used as a desktop uses it,
# in a desktop session of the test's own (a session bus, a virtual display, scratch XDG folders
# where Tunekist is the default for audio/mpeg): `xdg-open` starts the player from the launcher's
# Exec line on a song; a second launch with a song and a folder, named relative to where it runs,
# hands them to that window and ends with status 0; `xdg-open` again and the media-player
# interface's OpenUri reach the same window. The playlist is read as the desktop's media controls
# read it: Next brings each queued song to the head, in order, and there is one window all along.
# The last one is read as the desktop reads it, exact length and address, paused with PlayPause,
# and Quit ends the program. Without a session bus the installed player starts and ends by its
# Exit button with status 0, saying nothing.
#
#   check_install.sh BUILD-DIR     (exits 77, skipped, when a tool it needs is missing)
set -euo pipefail
build=$(realpath "$1")
app_id=nl.tunekist.Tunekist
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/program_test_lib.sh"
require_tools desktop-file-validate appstreamcli identify readelf dbus-run-session xvfb-run xdotool xdg-open \
  xdg-mime busctl sox soxi lame
reexec_in_xvfb dbus-run-session -- "$0" "$@"

root=$(mktemp -d "${TMPDIR:-/tmp}/tunekist-install.XXXXXX")
mpris() { busctl --user "$1" org.mpris.MediaPlayer2.tunekist /org/mpris/MediaPlayer2 "${@:2}"; }
lone_pid=""
cleanup() {
  mpris call org.mpris.MediaPlayer2 Quit >/dev/null 2>&1 || true
  kill $lone_pid 2>/dev/null || true
  sleep 1
  rm -rf "$root"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root/install cmake --install "$build" --prefix /usr >/dev/null
usr=$root/install/usr

# The layout a desktop looks in.
[[ -x $usr/bin/tunekist ]] || fail "no executable in bin/"
desktop=$usr/share/applications/$app_id.desktop
metainfo=$usr/share/metainfo/$app_id.metainfo.xml
for size in 16 32 48 64 128 256; do
  icon=$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  [[ $(identify -format '%wx%h' "$icon") == "${size}x${size}" ]] || fail "no ${size}x${size} icon"
done
# The installed copy must not lean on the build tree.
if readelf -d "$usr/bin/tunekist" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
  fail "the executable searches libraries in the build tree"
fi
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the launcher"
appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli rejects the metadata"

# What the launcher promises: it opens the MP3 files it is given, under every name desktops give
# their type.
entry() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(entry Icon) == "$app_id" ]] || fail "launcher icon is '$(entry Icon)'"
[[ $(entry MimeType) == "audio/mpeg;audio/mp3;audio/x-mp3;audio/x-mpeg;audio/mpeg3;audio/x-mpeg-3;" ]] ||
  fail "the launcher claims '$(entry MimeType)'"
[[ $(entry Exec) == "tunekist %F" ]] || fail "the Exec line is '$(entry Exec)'"
grep -qF "<mediatype>audio/mpeg</mediatype>" "$metainfo" || fail "the metadata does not provide audio/mpeg"
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "the metadata does not point at the launcher"

export PATH=$usr/bin:$PATH
export XDG_DATA_HOME=$root/data XDG_CONFIG_HOME=$root/config XDG_DATA_DIRS=$usr/share:/usr/share \
  XDG_RUNTIME_DIR=$root/runtime
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
xdg-mime default $app_id.desktop audio/mpeg
export SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb

mkdir "$root/Muziek" "$root/Andere"
# Not a whole number of milliseconds, so that the length told to the desktop shows its unit.
sox -q -V1 -n -r 44100 -c 2 -b 16 "$root/tone.wav" synth 30.0005 sine 440
length_us=$((($(soxi -s "$root/tone.wav") * 1000000 + 22050) / 44100))
for song in Muziek/Een Andere/Twee Muziek/Drie Andere/Vier; do lame --quiet "$root/tone.wav" "$root/$song.mp3"; done
[[ $(xdg-mime query filetype "$root/Muziek/Een.mp3") == audio/mpeg ]] || fail "the song is not audio/mpeg here"
[[ $(xdg-mime query default audio/mpeg) == "$app_id.desktop" ]] || fail "Tunekist is not the default"

title() { mpris get-property org.mpris.MediaPlayer2.Player Metadata 2>/dev/null | grep -o '"xesam:title" s "[^"]*"' || true; }
title_is() { [[ $(title) == "\"xesam:title\" s \"$1\"" ]]; }
# The head song's name, within a minute (a sanitized build starts slowly).
expect_title() { poll 600 title_is "$1" || fail "the head song is $(title), expected $1"; }
# Runs a launch that must end by itself with status 0, and says how long it took.
launch_ends() {  # what, command...
  local start=$(date +%s%N)
  timeout 30 "${@:2}" || fail "$1 ended with status $?"
  echo "$1 ended after $((($(date +%s%N) - start) / 1000000)) ms"
}

# Started as the desktop starts it: the Exec line, found on PATH, from a folder of no meaning.
(cd / && exec xdg-open "$root/Muziek/Een.mp3") >"$root/first.log" 2>&1 &
expect_title Een
# Named from a terminal in another folder: the running window finds them all the same.
launch_ends "the second launch" env -C "$root" tunekist Andere/Twee.mp3 Andere
launch_ends "xdg-open into the running window" xdg-open "$root/Muziek/Drie.mp3"
mpris call org.mpris.MediaPlayer2.Player OpenUri s "file://$root/Andere/Vier.mp3"
windows=$(xdotool search --onlyvisible --name '^Form1$' | wc -l)
[[ $windows == 1 ]] || fail "$windows windows are open"
for song in Twee Drie Vier; do
  mpris call org.mpris.MediaPlayer2.Player Next
  expect_title "$song"
done
echo "one window took every song, in order"

metadata=$(mpris get-property org.mpris.MediaPlayer2.Player Metadata)
[[ $metadata == *"\"mpris:length\" x $length_us"* ]] || fail "the desktop is told: $metadata"
[[ $metadata == *"\"xesam:url\" s \"file://$root/Andere/Vier.mp3\""* ]] || fail "the desktop is told: $metadata"
status_is() { [[ $(mpris get-property org.mpris.MediaPlayer2.Player PlaybackStatus) == "s \"$1\"" ]]; }
status_is Playing || fail "Next did not play"
mpris call org.mpris.MediaPlayer2.Player PlayPause
poll 200 status_is Paused || fail "PlayPause did not pause"
expect_ended() { timeout 20 tail --pid="$2" -f /dev/null || fail "$1 still runs"; }  # what, pid: ends within 20 s
pid=$(busctl --user status org.mpris.MediaPlayer2.tunekist | sed -n 's/^PID=//p')
mpris call org.mpris.MediaPlayer2 Quit
expect_ended "the program after Quit" "$pid"

start_program lone_pid "$usr/bin" "$root/without-bus.log" -u DBUS_SESSION_BUS_ADDRESS
xdotool mousemove --window "$window" 1153 610 click 1  # ExitKnop's middle at the design size
expect_ended "the player without a session bus, after Exit," "$lone_pid"
wait "$lone_pid" || fail "the player without a session bus ended with status $?"
[[ ! -s $root/without-bus.log ]] || fail "the player without a session bus said: $(cat "$root/without-bus.log")"
echo "the desktop read the song and ended the program; without a bus it ended by Exit"
