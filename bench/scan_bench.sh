#!/usr/bin/env bash
# Times the library scan against `find | sort -f` on the same generated tree:
# 32,767 matching files and as many others, in about 1,000 directories over
# four levels. Warm cache; median of several runs; prints the ratio (target
# at most 1.5) and the scan's peak memory above the program's own baseline
# (target under 15 MB).
#
# usage: bench/scan_bench.sh [TREE_DIR] [RUNS]
#   TREE_DIR  where the tree is made (kept and reused; default /tmp/wavecrest-scan-tree)
#   RUNS      timed runs of each command (default 7)
# The scan tool is built from a Release configuration in build/library-release.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(dirname "$here")"
tree="${1:-/tmp/wavecrest-scan-tree}"
runs="${2:-7}"
build="${WAVECREST_BENCH_BUILD:-$source_dir/build/library-release}"

if [[ ! -x "$build/bench/wavecrest_scan_tool" ]]; then
  cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -G Ninja >/dev/null
fi
cmake --build "$build" --target wavecrest_scan_tool >/dev/null
tool="$build/bench/wavecrest_scan_tool"

python3 "$here/make_scan_tree.py" "$tree"

count="$("$tool" scan "$tree" | wc -l)"
expected="$(find "$tree" -type f -iname '*.mp3*' | wc -l)"
if [[ "$count" != "$expected" ]]; then
  echo "scan found $count files, find found $expected" >&2
  exit 1
fi

python3 - "$tool" "$tree" "$runs" <<'PY'
import statistics, subprocess, sys, time
tool, tree, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
commands = {
    "wavecrest scan": [tool, "scan", tree],
    "find | sort -f": ["sh", "-c", "find \"$0\" -type f -iname '*.mp3*' | sort -f", tree],
}
medians = {}
for name, command in commands.items():
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)  # warm the cache
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
        times.append(time.perf_counter() - start)
    medians[name] = statistics.median(times)
    print("%-16s median %.3f s  (min %.3f, max %.3f, %d runs)" % (name, medians[name], min(times), max(times), runs))
print("ratio scan / find: %.2f (target <= 1.5)" % (medians["wavecrest scan"] / medians["find | sort -f"]))
PY

peak_kb() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}'
}
empty="$(mktemp -d)"
baseline="$(peak_kb "$tool" scan "$empty")"
rmdir "$empty"
full="$(peak_kb "$tool" scan "$tree")"
echo "peak memory: baseline ${baseline} kB, scan ${full} kB, above baseline $(( (full - baseline) / 1024 )) MB (target < 15 MB)"
echo "library entries: $count"
