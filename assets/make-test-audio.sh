#!/usr/bin/env bash
# Makes the tiny audio files the player tests play: a 2-second 440 Hz tone as
# tone.mp3, tone.wav and tone.wma in the directory given (created if needed).
# Generated at test time so no audio binaries live in the repository; the
# tests know the length (2 s) and compare what the player reports with it.
#
#   assets/make-test-audio.sh DIR
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 DIR" >&2
  exit 2
fi
dir=$1
mkdir -p "$dir"

seconds=2
tone=(-f lavfi -i "sine=frequency=440:sample_rate=44100:duration=${seconds}")
ff=(ffmpeg -hide_banner -loglevel error -nostdin -y)

"${ff[@]}" "${tone[@]}" -ac 2 -c:a pcm_s16le "$dir/tone.wav"
"${ff[@]}" "${tone[@]}" -ac 2 -c:a libmp3lame -b:a 128k "$dir/tone.mp3"
"${ff[@]}" "${tone[@]}" -ac 2 -c:a wmav2 -b:a 128k "$dir/tone.wma"
