#!/usr/bin/env bash
# The program's own start and its peak memory, each beside a baseline measured
# in the same loop; medians of RUNS runs:
#   scan of an empty folder ............ vs `find` of that folder    (target < 15 ms)
#   console start to the banner line ... vs starting `true`          (target < 40 ms)
#   console, 32,767-file library, before any song: peak RSS          (target < 35 MB)
#   windowed (Xvfb), same library, before any song: peak RSS         (target < 60 MB)
#   console playing one song: peak RSS . vs mpv alone on that song   (target <= mpv)
# The library is bench/make_scan_tree.py's tree, the song
# the demo's "echo valley" (scripts/make-demo).
#
# usage: bench/startup_bench.sh [BUILD_DIR] [RUNS]
#   BUILD_DIR  a Release build folder (default build/release; configured and
#              built when it has no program yet)
#   RUNS       runs of each measure (default 7)
set -euo pipefail

source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$source_dir/build/release}")"
runs="${2:-7}"
tree=/tmp/wavecrest-scan-tree

if [[ ! -x "$build/wavecrest" ]]; then
  cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -G Ninja >/dev/null
  cmake --build "$build" --target wavecrest >/dev/null
fi
python3 "$source_dir/bench/make_scan_tree.py" "$tree" >/dev/null
"$source_dir/scripts/install-deps" mpv time  # mpv alone is the baseline of the playing figure
(cd "$source_dir" && scripts/make-demo >/dev/null 2>&1)
song="$source_dir/build/demo/music/echo valley.mp3"
[[ -f "$song" ]] || { echo "no demo song at $song" >&2; exit 1; }

exec python3 - "$build/wavecrest" "$tree" "$song" "$runs" <<'PY'
import os, shutil, signal, statistics, subprocess, sys, tempfile, time

program, tree, song, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
work = tempfile.mkdtemp(prefix="wavecrest-startup-")
empty = os.path.join(work, "empty")
os.mkdir(empty)
env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=work, WAVECREST_AUDIO_OUT="null")

def settings(name, folder):
    path = os.path.join(work, name + ".dat")
    with open(path, "w") as f:
        f.write("[settings]\ndirectory=%s/\nscreen name=member\n" % folder)
    return path

def peak_kb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0

def wall_ms(command):
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env, check=True)
    return (time.perf_counter() - start) * 1000

def console(settings_path, until_line, then_lines=(), hold=0.0):
    """Runs the console; answers (ms to the first line holding until_line, peak kB)."""
    start = time.perf_counter()
    p = subprocess.Popen([program, "--console", "--raw", "--settings", settings_path], env=env,
                         stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    seen = None
    for line in p.stdout:
        if until_line in line:
            seen = (time.perf_counter() - start) * 1000
            break
    for text in then_lines:
        p.stdin.write(text + "\n")
        p.stdin.flush()
    time.sleep(hold)
    peak = peak_kb(p.pid)
    p.stdin.write("exit\n")
    p.stdin.close()
    p.stdout.read()
    p.wait(timeout=60)
    return seen, peak

def windowed_peak(settings_path):
    p = subprocess.Popen([program, "--settings", settings_path], env=dict(env, QT_QPA_PLATFORM="xcb"),
                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["xdotool", "search", "--sync", "--name", "^wavecrest system"], stdout=subprocess.DEVNULL,
                   timeout=60, env=env)
    # Start-up fills the lists after the window shows: wait until the peak holds still.
    last, steady = -1, 0
    while steady < 10:
        time.sleep(0.1)
        now = peak_kb(p.pid)
        steady = steady + 1 if now == last else 0
        last = now
    p.send_signal(signal.SIGTERM)
    p.wait(timeout=60)
    return last

def mpv_peak():
    r = subprocess.run(["/usr/bin/time", "-f", "%M", "mpv", "--no-config", "--ao=null", "--vo=null", "--end=3", song],
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, env=env, check=True)
    return int(r.stderr.strip().splitlines()[-1])

empty_dat = settings("empty", empty)
library_dat = settings("library", tree)
song_dat = settings("song", os.path.dirname(song))
rows = []
def measure(name, unit, target, ours, baseline=None, baseline_name=""):
    a, b = [], []
    for _ in range(runs):
        a.append(ours())
        if baseline: b.append(baseline())
    line = "%-44s %8.1f %s" % (name, statistics.median(a), unit)
    if baseline: line += "   (%s: %.1f %s)" % (baseline_name, statistics.median(b), unit)
    print(line + "   target " + target, flush=True)

measure("scan of an empty folder", "ms", "< 15 ms", lambda: wall_ms([program, "scan", empty]),
        lambda: wall_ms(["find", empty]), "find")
measure("console start to the banner line", "ms", "< 40 ms", lambda: console(empty_dat, "system")[0],
        lambda: wall_ms(["true"]), "true")
measure("console, 32,767-file library: peak RSS", "MB", "< 35 MB",
        lambda: console(library_dat, "welcome", hold=0.5)[1] / 1024)
if os.environ.get("DISPLAY") and shutil.which("xdotool"):
    measure("windowed, 32,767-file library: peak RSS", "MB", "< 60 MB", lambda: windowed_peak(library_dat) / 1024)
else:
    print("windowed: needs a display and xdotool (run under xvfb-run -a -s -noreset)")
measure("console playing one song: peak RSS", "MB", "<= mpv alone",
        lambda: console(song_dat, "welcome", ["p echo"], hold=3.0)[1] / 1024, lambda: mpv_peak() / 1024, "mpv alone")
shutil.rmtree(work)
PY
