#!/usr/bin/env bash
# The room's stream against two well-known Icecast sources, on one private
# icecast2 and the same three songs (MP3, 44.1 kHz stereo, 128 kbit/s), one
# streamer after the other, each on a mount of its own for MINUTES minutes
# after a warm-up:
#   wavecrest   console, order play, --stream (encodes with LAME at 128 kbit/s)
#   liquidsoap  output.icecast(%mp3(bitrate=128), mksafe(playlist(...)))
#   ezstream    passes the MP3 files through without encoding again
# and wavecrest once more without --stream, as the baseline of its memory.
#
# For each it prints the CPU seconds per streamed minute (all threads, from
# /proc/PID/stat over the measured minutes) and the peak RSS (VmHWM); the
# audio a listener received against the wall-clock time it took (a listener
# is ffmpeg decoding the mount to PCM as it arrives); and for wavecrest, the
# time from writing `next` on its standard input to the new song's first
# audio at that listener: an upper bound of `next` to the first encoded bytes
# leaving, since the server and the listener's decoder add their own.
# Targets: wavecrest's CPU at most half of liquidsoap's; --stream adds at most
# 15 MB of RSS; `next` within 300 ms; over 10 minutes (--long) the audio
# received within 0.5 % of the wall-clock time.
#
# The songs are tones over pink noise, one frequency to a song, so that the
# listener tells which song it hears.
#
# usage: bench/stream_bench.sh [--long] [PROGRAM]
#   --long   10 minutes per streamer instead of 2
#   PROGRAM  the wavecrest to measure (default: built from build/release);
#            one without --stream is left out and only the peers are measured
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(dirname "$here")"
minutes=2
if [[ "${1:-}" == "--long" ]]; then
  minutes=10
  shift
fi
program="${1:-}"
"$source_dir/scripts/install-deps" liquidsoap ezstream
if [[ -z "$program" ]]; then
  build="$source_dir/build/release"
  cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -G Ninja >/dev/null
  cmake --build "$build" -j2 --target wavecrest >/dev/null
  program="$build/wavecrest"
fi

exec python3 "$here/stream_bench.py" "$program" "$minutes"
