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

python3 - "$tree" <<'PY'
import os, sys
root = sys.argv[1]
done = os.path.join(root, ".complete")
if os.path.exists(done):
    sys.exit(0)
os.makedirs(root, exist_ok=True)
# Four levels with fan-out 6, 5, 5, 5: 936 directories below the root.
dirs = [root]
level = [root]
for fanout in (6, 5, 5, 5):
    nxt = []
    for d in level:
        for i in range(fanout):
            p = os.path.join(d, ("Album %02d" if i % 2 else "artist %02d") % i)
            os.makedirs(p, exist_ok=True)
            nxt.append(p)
    dirs += nxt
    level = nxt
matching = 32767
for n in range(matching):
    d = dirs[n % len(dirs)]
    ext = ".MP3" if n % 7 == 0 else ".mp3"
    open(os.path.join(d, "Track %05d - Some Artist%s" % (n, ext)), "w").close()
    other = (".txt", ".jpg", ".m3u", ".wav")[n % 4]
    open(os.path.join(d, "cover %05d%s" % (n, other)), "w").close()
open(done, "w").close()
print("tree made: %d directories, %d files" % (len(dirs) - 1, 2 * matching))
PY

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
