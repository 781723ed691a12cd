#!/usr/bin/env bash
# The console program as the desktop's media controls see it, through
# playerctl on a session bus of its own (run it through dbus-run-session):
# status, the track's metadata, play-pause, next, stop and play, volume and
# quit, each told in the room as the member's own command would be; and
# without a session bus, nothing said unless --verbose asks.
#
# usage: mpris_e2e.sh PROGRAM SOURCE_DIR
set -euo pipefail
program=$1 source=$2
work=$(mktemp -d)
trap 'kill "${follow:-}" "${WC_PID:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "mpris_e2e: $*" >&2; [[ -f $work/err.txt ]] && tail -20 "$work/err.txt" >&2; exit 1; }

export ASAN_OPTIONS="${ASAN_OPTIONS:-strict_string_checks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$source/tests/lsan.supp:print_suppressions=0}"
export WAVECREST_AUDIO_OUT=null
mkdir -p "$work/music" "$work/no-bus"
# Silent songs a minute long, so none ends during the test; ID3v1 tags only.
for song in "harbour lights|Glass Harbor|Northern Lights" "song of the sea|Mira Sol|Canyon Songs" "tidewater|Low Tide|Shore"; do
  IFS='|' read -r name artist album <<<"$song"
  ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i anullsrc=r=22050:cl=mono -t 60 -c:a libmp3lame -b:a 8k \
    -id3v2_version 0 -write_id3v1 1 -metadata TPE1="$artist" -metadata TALB="$album" "$work/music/$name.mp3"
done
printf '[settings]\nscreen name=member\ndirectory=%s/\n' "$work/music" >"$work/wavecrest.dat"

# No session bus: nothing offered, nothing said; --verbose says why.
no_bus() {
  printf '/quit\n' | env -u DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR="$work/no-bus" \
    "$program" --console --raw "$@" --settings "$work/wavecrest.dat" 2>&1 >/dev/null
}
said=$(no_bus) || fail "the program failed without a session bus"
[[ -z $said ]] || fail "without a session bus and --verbose, standard error said: $said"
no_bus --verbose | grep -q "no session bus" || fail "--verbose did not say there is no session bus"

coproc WC { exec "$program" --console --raw --settings "$work/wavecrest.dat" 2>"$work/err.txt"; }
# Reads the room until a line holds TEXT.
room_says() {
  local line
  while IFS= read -r -t 30 -u "${WC[0]}" line; do
    [[ $line == *"$1"* ]] && return 0
  done
  fail "the room never said: $1"
}
ctl() { playerctl -p wavecrest "$@"; }
expect() { [[ $1 == "$2" ]] || fail "expected '$2', got '$1'"; }

# An answer in the room means start-up is over, and with it the service is up.
echo "p harbour" >&"${WC[1]}"
room_says "playing #1 - <b>harbour lights</b>"
expect "$(playerctl -l)" wavecrest
expect "$(ctl status)" Playing
expect "$(ctl metadata --format '{{xesam:title}}|{{xesam:artist}}|{{xesam:album}}|{{mpris:trackid}}')" \
  "harbour lights|Glass Harbor|Northern Lights|'/org/wavecrest/track/1'"
length=$(ctl metadata mpris:length)
((length > 59000000 && length < 61000000)) || fail "mpris:length is $length, not a minute in microseconds"

# The desktop hears of each change (PropertiesChanged), as playerctl --follow does.
mkfifo "$work/follow"
ctl --follow status >"$work/follow" &
follow=$!
exec 4<"$work/follow"
follows() { local line; IFS= read -r -t 10 -u 4 line || fail "no change of status reported"; expect "$line" "$1"; }
follows Playing
ctl play-pause
room_says "pause #1 - <b>harbour lights</b>"
follows Paused
ctl play-pause
room_says "unpause #1 - <b>harbour lights</b>"
follows Playing

ctl next
room_says "next #2 - <b>song of the sea</b>"
expect "$(ctl metadata --format '{{xesam:title}}|{{xesam:artist}}')" "song of the sea|Mira Sol"
ctl stop
room_says "stop #2 - <b>song of the sea</b>"
follows Stopped
ctl play
room_says "playing #2 - <b>song of the sea</b>"
follows Playing

ctl volume 0.5
room_says "new volume: <b>50%</b>"
expect "$(ctl volume)" 0.500000
grep -qix "volume=50" "$work/wavecrest.dat" || fail "the volume was not saved as vol 50 saves it"

dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.wavecrest /org/mpris/MediaPlayer2 \
  org.mpris.MediaPlayer2.Quit
room_says "goodbye - <b>"
pid=$WC_PID
wait "$pid" || fail "the program ended with status $? after Quit"
echo "mpris_e2e: status, metadata, play-pause, next, stop, play, volume and quit work through playerctl"
