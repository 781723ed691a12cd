#!/usr/bin/env bash
# Times the library scan against `find | sort -f` on the same generated tree:
# 32,767 matching files and as many others, in about 1,000 directories over
# four levels. Warm cache; the commands take turns within each round, so a
# busy machine slows them alike. Prints, from one run:
#   - the median time of `wavecrest scan`, of the scan tool (the scan without
#     the program's start) and of `find | sort -f`, and the ratios to find
#     (target at most 1.0);
#   - the peak memory of each (target under 20 MB for `wavecrest scan`);
#   - the same for an empty folder against `find` of it: what starting costs.
#
# usage: bench/scan_bench.sh [TREE_DIR] [RUNS]
#   TREE_DIR  where the tree is made (kept and reused; default /tmp/wavecrest-scan-tree)
#   RUNS      timed runs of each command (default 7)
# Built from a Release configuration in build/release (WAVECREST_BENCH_BUILD
# names another, e.g. one of an older commit to compare with).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(dirname "$here")"
tree="${1:-/tmp/wavecrest-scan-tree}"
runs="${2:-7}"
build="${WAVECREST_BENCH_BUILD:-$source_dir/build/release}"

if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -G Ninja >/dev/null
fi
cmake --build "$build" -j2 --target wavecrest wavecrest_scan_tool >/dev/null
program="$build/wavecrest"
tool="$build/bench/wavecrest_scan_tool"

python3 "$here/make_scan_tree.py" "$tree"

count="$("$program" scan "$tree" | wc -l)"
expected="$(find "$tree" -type f -iname '*.mp3*' | wc -l)"
if [[ "$count" != "$expected" ]]; then
  echo "scan found $count files, find found $expected" >&2
  exit 1
fi
echo "library entries: $count"

empty="$(mktemp -d)"
trap 'rmdir "$empty"' EXIT
python3 - "$program" "$tool" "$tree" "$empty" "$runs" <<'PY'
import os, statistics, subprocess, sys, time
program, tool, tree, empty, runs = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5])
find_sort = "find \"$0\" -type f -iname '*.mp3*' | sort -f"

def commands(folder, baseline):
    cmds = {"wavecrest scan": [program, "scan", folder], "scan tool": [tool, "scan", folder]}
    if baseline == "find | sort -f":
        cmds[baseline] = ["sh", "-c", find_sort, folder]
    else:
        cmds[baseline] = ["find", folder, "-type", "f", "-iname", "*.mp3*"]
    return cmds

peak_file = os.path.join(empty, "..", "wavecrest-bench-peak-%d" % os.getpid())

def run(command):
    # Wall time, and the peak resident memory in kB as /usr/bin/time reports
    # it: of the process, or of the pipeline's largest member. (The rusage of
    # a child forked from here would count this interpreter's pages.)
    start = time.perf_counter()
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", peak_file] + command, stdout=subprocess.DEVNULL, check=True)
    elapsed = time.perf_counter() - start
    with open(peak_file) as f:
        peak = int(f.read().split()[-1])
    os.remove(peak_file)
    return elapsed, peak

def measure(folder, baseline, title):
    cmds = commands(folder, baseline)
    for command in cmds.values():
        run(command)  # warm the cache
    times = {name: [] for name in cmds}
    peaks = {name: 0 for name in cmds}
    for _ in range(runs):
        for name, command in cmds.items():
            elapsed, peak = run(command)
            times[name].append(elapsed)
            peaks[name] = max(peaks[name], peak)
    print(title)
    medians = {name: statistics.median(t) for name, t in times.items()}
    for name, t in times.items():
        print("  %-15s median %.3f s  (min %.3f, max %.3f, %d runs)  peak %6.1f MB"
              % (name, medians[name], min(t), max(t), runs, peaks[name] / 1024))
    base = medians[baseline]
    for name in ("wavecrest scan", "scan tool"):
        print("  ratio %s / %s: %.2f" % (name, baseline, medians[name] / base))

measure(tree, "find | sort -f", "the tree (targets: ratio <= 1.0, peak of wavecrest scan < 20 MB):")
measure(empty, "find", "an empty folder:")
PY
