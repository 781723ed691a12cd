#!/usr/bin/env bash
# The demo the first run starts on: songs long enough to ask about while they
# play, small files, a search of the README's that opens the matches window,
# and settings made afresh by every run.
#
# usage: demo_check.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source=$1
export WAVECREST_DEMO_DIR=$2/demo-check
music=$WAVECREST_DEMO_DIR/music
fail() { echo "demo_check: $*" >&2; exit 1; }

"$source/scripts/make-demo" member 2>/dev/null
count=0
for song in "$music"/*; do
  read -r channels seconds < <(ffprobe -v error -select_streams a:0 -show_entries stream=channels:format=duration \
    -of default=nw=1:nk=1 "$song" | paste -sd' ')
  awk -v s="$seconds" 'BEGIN { exit !(s >= 30 && s <= 60) }' || fail "$song lasts $seconds s, not 30 to 60"
  [[ $channels == 1 ]] || fail "$song has $channels channels"
  (($(stat -c %s "$song") < 400000)) || fail "$song is larger than 400 kB"
  count=$((count + 1))
done
((count >= 12)) || fail "only $count songs"

# Every "p WORD" of the README's first run finds a song; one of them several.
several=0
while read -r word; do
  found=$(find "$music" -name "*.mp3" -iname "*$word*" | wc -l)
  ((found > 0)) || fail "the README's \"p $word\" finds no song"
  ((found > 1)) && several=1
done < <(sed -n '/^## First run/,/^## /p' "$source/README.md" | sed -n 's/^p \([a-z]*\) .*/\1/p')
((several)) || fail "no search of the README's first run opens the matches window"

# A changed demo starts as new, and its music is not made again.
before=$(stat -c %Y "$music/echo valley.mp3")
printf '[settings]\ndirectory=/nowhere/\next=wav\ntrigger=!\n' >"$WAVECREST_DEMO_DIR/wavecrest.dat"
"$source/scripts/make-demo" member 2>/dev/null
[[ "$(cat "$WAVECREST_DEMO_DIR/wavecrest.dat")" == "$(printf '[settings]\ndirectory=%s/\nscreen name=member' "$music")" ]] ||
  fail "the demo's settings were not made afresh: $(cat "$WAVECREST_DEMO_DIR/wavecrest.dat")"
[[ $(stat -c %Y "$music/echo valley.mp3") == "$before" ]] || fail "the music was made again"
echo "demo_check: $count songs of 30 to 60 s, the README's searches find them, settings made afresh"
