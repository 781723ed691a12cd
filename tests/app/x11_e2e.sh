#!/usr/bin/env bash
# The windowed program under a real X server (run it through xvfb-run): the
# main window takes its skin's outline, moves when dragged by its song line,
# and the screen is saved for people to look at.
#
# usage: x11_e2e.sh PROGRAM SOURCE_DIR OUTPUT_DIR
set -euo pipefail
program=$1 source=$2 out=$3
check="python3 $source/tests/app/x11_window_check.py"
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$out/screenshots" "$work/music"
for name in "harbour lights" "song of the sea" "song for a calm" "tidewater"; do : >"$work/music/$name.mp3"; done
printf '[settings]\nscreen name=member\ndirectory=%s/\n' "$work/music" >"$work/wavecrest.dat"

# A sanitizer build checks for leaks at exit; those of system libraries are
# not the program's.
# libxkbcommon-x11 hands strndup a keymap name without a terminating NUL,
# which strict string checks report inside that library; they stay off here.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0"
# One suppression list serves every test (LeakSanitizer takes only one file).
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$source/tests/lsan.supp:print_suppressions=0}"
"$program" --verbose --settings "$work/wavecrest.dat" >"$work/out.txt" 2>"$work/err.txt" &
pid=$!
# The caption ends in the extension once start-up has finished.
window=$(timeout 90 xdotool search --sync --name "^wavecrest system - 0.0.8 - mp3$" | head -1) || true
if [[ -z "$window" ]]; then
  cat "$work/err.txt" >&2
  xwininfo -root -tree >&2 || true
  echo "x11_e2e: no main window" >&2
  exit 1
fi
xwininfo -shape -id "$window" | grep -E "Width|Height|shape extents"
# Task bars show the program's own icon, the desktop entry's picture.
# Qt may set the icon property just after the caption; -spy prints the value
# and then each change, so the check waits for the property, not a fixed time.
# (It ends at its next change or within 10 s; nothing waits for it.)
grep -q -m1 "Icon (64 x 64)" < <(timeout 10 xprop -spy -id "$window" _NET_WM_ICON 2>/dev/null) ||
  { echo "x11_e2e: the main window has no 64x64 icon" >&2; exit 1; }
$check shape "$window" "$source/assets/skins/main.png"

# lblSong2 sits at (16, 218) in the window, 265 x 18 pixels; the X server
# itself draws it, turning twice a second.
$check turns "$window" 16 218 265 18 "$source/assets/skins/main.png"
$check drag "$window" 40 226 120 90
$check drag "$window" 40 226 -60 -30

# The member searches in the chat room: two songs match, and the matches
# window opens with its own outline.
room=$(xdotool search --name "^chat room - member$" | head -1)
eval "$(xdotool getwindowgeometry --shell "$room")"
xdotool mousemove --sync --window "$room" 200 $((HEIGHT - 22)) click 1
xdotool type --delay 20 "p song"
xdotool key Return
matches=$(timeout 60 xdotool search --sync --onlyvisible --name "^double-click to play mp3$" | head -1) || true
[[ -n "$matches" ]] || { echo "x11_e2e: no matches window" >&2; exit 1; }
$check shape "$matches" "$source/assets/skins/matches.png"
xdotool mousemove 1000 700

# The whole screen, and each skinned window on its own.
shot() {
  local geometry
  geometry=$(xdotool getwindowgeometry --shell "$1")
  (eval "$geometry"; ffmpeg -loglevel error -y -f x11grab -video_size "${WIDTH}x${HEIGHT}" -i "$DISPLAY+$X,$Y" \
     -frames:v 1 "$out/screenshots/$2")
}
ffmpeg -loglevel error -y -f x11grab -video_size 1024x768 -i "$DISPLAY" -frames:v 1 "$out/screenshots/main.png"
shot "$window" main-window.png
shot "$matches" matches-window.png
echo "x11_e2e: screenshots in $out/screenshots (main.png: the screen; main-window.png, matches-window.png)"

# By keyboard: a click on the first row, Down, Enter plays the second row as a
# double-click would, and hides the window. The songs are empty files, so
# --verbose names the one the player was asked to open (before the window hides).
xdotool mousemove --sync --window "$matches" 40 44 click 1
$check unmapped "$matches" xdotool key Down Return
grep -qF "skipped $work/music/song of the sea.mp3" "$work/err.txt" ||
  { cat "$work/err.txt" >&2; echo "x11_e2e: Enter did not play the second row" >&2; exit 1; }

# The member ends the program from the room; it must end cleanly (a
# sanitizer build reports what it found at exit, and fails then).
xdotool mousemove --sync --window "$room" 200 $((HEIGHT - 22)) click 1
xdotool type --delay 20 "exit"
xdotool key Return
status=0
timeout 30 tail --pid="$pid" -f /dev/null || { echo "x11_e2e: the program did not end after exit" >&2; exit 1; }
wait "$pid" || status=$?
if [[ $status -ne 0 ]]; then
  tail -40 "$work/err.txt" >&2
  echo "x11_e2e: the program ended with status $status" >&2
  exit 1
fi
echo "x11_e2e: the program ended cleanly after exit"
