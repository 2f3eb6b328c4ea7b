#!/usr/bin/env bash
# Installs the built player into a scratch root the way a package would, checks that a Linux
# desktop finds everything where it looks, and starts the installed copy from its launcher's
# Exec line in a virtual display.
#
#   check_install.sh BUILD-DIR
#
# Exits 77 (skipped) when the validators or the virtual display's tools are missing.
set -euo pipefail
build=$1
app_id=nl.tunekist.Tunekist
source "$(dirname "$0")/../support/program_test_lib.sh"
require_tools desktop-file-validate appstreamcli identify readelf xvfb-run xdotool
reexec_in_xvfb "$0" "$@"

root=$(mktemp -d)
player_pid=
cleanup() {
  [[ -z $player_pid ]] || kill "$player_pid" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

# The layout a desktop looks in.
[[ -x $usr/bin/tunekist ]] || fail "no executable in bin/"
desktop=$usr/share/applications/$app_id.desktop
metainfo=$usr/share/metainfo/$app_id.metainfo.xml
[[ -f $desktop ]] || fail "no launcher in share/applications/"
[[ -f $metainfo ]] || fail "no metadata in share/metainfo/"
for size in 16 32 48 64 128 256; do
  icon=$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  [[ -f $icon ]] || fail "no ${size}x${size} icon"
  actual=$(identify -format '%wx%h' "$icon")
  [[ $actual == "${size}x${size}" ]] || fail "the ${size}x${size} icon is $actual"
done

# The installed copy must not lean on the build tree.
if readelf -d "$usr/bin/tunekist" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
  fail "the executable searches libraries in the build tree"
fi

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the launcher"
appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli rejects the metadata"

# What the launcher promises.
entry() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(entry Name) == Tunekist ]] || fail "launcher name is '$(entry Name)'"
[[ $(entry Categories) == "AudioVideo;Audio;Player;" ]] || fail "categories are '$(entry Categories)'"
[[ $(entry Icon) == "$app_id" ]] || fail "launcher icon is '$(entry Icon)'"
# It opens the MP3 files it is given, under every name desktops give their type.
[[ $(entry MimeType) == "audio/mpeg;audio/mp3;audio/x-mp3;audio/x-mpeg;audio/mpeg3;audio/x-mpeg-3;" ]] ||
  fail "the launcher claims '$(entry MimeType)'"
grep -qF "<mediatype>audio/mpeg</mediatype>" "$metainfo" || fail "the metadata does not provide audio/mpeg"
exec_line=$(entry Exec)
[[ $exec_line == "tunekist %F" ]] || fail "the Exec line is '$exec_line'"
# Started with no file, the field code takes nothing.
exec_line=${exec_line% %F}
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "the metadata does not point at the launcher"

# Started as the desktop starts it: the Exec line, found on PATH, from a folder of no meaning.
cd /
PATH=$usr/bin:$PATH SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb $exec_line >"$root/player.log" 2>&1 &
player_pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1) || true
[[ -n $window ]] || { cat "$root/player.log" >&2; fail "the installed player showed no window"; }
[[ $(xdotool getwindowpid "$window") == "$player_pid" ]] || fail "the window is not the installed player's"
kill -0 "$player_pid" || fail "the installed player ended by itself"
echo "installed player shows window $window"
