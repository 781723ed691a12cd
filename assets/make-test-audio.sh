#!/usr/bin/env bash
# Makes the tiny audio files the player tests play: a 440 Hz stereo tone,
# 2 seconds long unless SECONDS says otherwise, as tone.mp3 (MP3, 128 kbit/s),
# tone.wav (16-bit PCM) and tone.wma (WMA 2) in DIR (created if needed), all at
# 44.1 kHz. Generated when needed so no audio binaries live in the repository;
# the tests know the length and compare what the player reports with it.
#
#   assets/make-test-audio.sh DIR [SECONDS]
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
  echo "usage: $0 DIR [SECONDS]" >&2
  exit 2
fi
dir=$1
seconds=${2:-2}
mkdir -p "$dir"

tone=(-f lavfi -i "sine=frequency=440:sample_rate=44100:duration=${seconds}")
ff=(ffmpeg -hide_banner -loglevel error -nostdin -y)

"${ff[@]}" "${tone[@]}" -ac 2 -c:a pcm_s16le "$dir/tone.wav"
"${ff[@]}" "${tone[@]}" -ac 2 -c:a libmp3lame -b:a 128k "$dir/tone.mp3"
"${ff[@]}" "${tone[@]}" -ac 2 -c:a wmav2 -b:a 128k "$dir/tone.wma"
