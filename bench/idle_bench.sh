#!/usr/bin/env bash
# How quietly the program waits, in one run:
#  1. wake-ups of the console's main thread during the one-second pause of
#     `adv` (between its two lines; target <= 3), beside an idle second of the
#     same process as its baseline;
#  2. CPU used over 30 s by the windowed program idle (under Xvfb) and by the
#     console idle, both on a 32,767-file library (target: windowed <= 2x the
#     console).
#
# A wake-up is counted as a voluntary context switch of the main thread
# (/proc/PID/task/PID/status): the thread gives up the processor exactly when
# it blocks in poll with nothing to do, so each one is a sleep ended by a
# timer or an event. Involuntary switches are left out: they count the other
# programs that preempt it on a shared machine, not wake-ups of its own. The
# player's and the bus's threads are not counted; their CPU is, in part 2
# (the run time of every thread, from /proc/PID/task/*/schedstat: the ticks of
# /proc/PID/stat are 10 ms, and the idle console uses less than one).
# The session bus is left out (DBUS_SESSION_BUS_ADDRESS unset), so the media
# controls do not take part in either figure.
#
# usage: bench/idle_bench.sh [PROGRAM] [TREE_DIR] [SECONDS]
#   PROGRAM   the wavecrest to measure (default: built from build/release)
#   TREE_DIR  the library tree (made as bench/scan_bench.sh makes it)
#   SECONDS   length of the idle CPU sample (default 30)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(dirname "$here")"
program="${1:-}"
tree="${2:-/tmp/wavecrest-scan-tree}"
seconds="${3:-30}"
if [[ -z "$program" ]]; then
  build="$source_dir/build/release"
  cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -G Ninja >/dev/null
  cmake --build "$build" -j2 --target wavecrest >/dev/null
  program="$build/wavecrest"
fi

if [[ ! -f "$tree/.complete" ]]; then
  # The scan bench makes the tree; its own timing run is not needed here.
  "$here/scan_bench.sh" "$tree" 1 >/dev/null
fi

unset DBUS_SESSION_BUS_ADDRESS
python3 - "$program" "$tree" "$seconds" <<'PY'
import os, select, subprocess, sys, tempfile, time

program, tree, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
work = tempfile.mkdtemp(prefix="wavecrest-idle-")

def settings(name):
    path = os.path.join(work, name + ".dat")
    with open(path, "w") as f:
        f.write("[settings]\ndirectory=%s/\nscreen name=member\n" % tree)
    return path

def wakeups(pid):
    with open("/proc/%d/task/%d/status" % (pid, pid)) as f:
        for line in f:
            if line.startswith("voluntary_ctxt_switches:"):
                return int(line.split()[1])
    raise RuntimeError("no context switches in status")

def cpu_seconds(pid):
    # utime+stime of /proc/PID/stat count in clock ticks (10 ms), too coarse
    # for an idle console; schedstat's run time is in nanoseconds, summed
    # over the threads alive now (the player's included).
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/schedstat" % (pid, task)) as f:
                total += int(f.read().split()[0])
        except FileNotFoundError:
            pass  # the thread ended meanwhile
    return total / 1e9

def read_until(proc, needle, timeout):
    end = time.monotonic() + timeout
    buffer = b""
    while needle not in buffer:
        left = end - time.monotonic()
        if left <= 0 or not select.select([proc.stdout], [], [], left)[0]:
            raise RuntimeError("no %r from the console" % needle)
        chunk = os.read(proc.stdout.fileno(), 65536)
        if not chunk:
            raise RuntimeError("the console ended")
        buffer += chunk
    return buffer

def console():
    return subprocess.Popen([program, "--console", "--raw", "--settings", settings("console"), "--member", "member"],
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

# 1. The pause of `adv`, and an idle second before it.
proc = console()
read_until(proc, b"welcome", 120)
time.sleep(2)  # let the start settle
before = wakeups(proc.pid)
time.sleep(1)
idle = wakeups(proc.pid) - before
proc.stdin.write(b"adv\n")
proc.stdin.flush()
read_until(proc, b"for <b>AOL", 10)
start = wakeups(proc.pid)
began = time.monotonic()
read_until(proc, b"download this", 10)
pause = wakeups(proc.pid) - start
took = time.monotonic() - began
proc.stdin.write(b"/quit\n")
proc.stdin.flush()
proc.wait(10)
print("pause wake-ups: %d during the pause of adv (%.2f s; target <= 3); idle second: %d" % (pause, took, idle))

# 2. Idle CPU over `seconds`: console, then windows under Xvfb.
def idle_cpu(pid):
    time.sleep(5)  # the library scan and the first paint are done by then
    first = cpu_seconds(pid)
    time.sleep(seconds)
    return cpu_seconds(pid) - first

proc = console()
read_until(proc, b"welcome", 120)
console_cpu = idle_cpu(proc.pid)
proc.stdin.write(b"/quit\n")
proc.stdin.flush()
proc.wait(10)

pidfile = os.path.join(work, "windows.pid")
windows = subprocess.Popen(["xvfb-run", "-a", "-s", "-noreset", "sh", "-c", 'echo $$ > "$0"; exec "$@"', pidfile,
                            program, "--settings", settings("windows"), "--member", "member"],
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
for _ in range(200):
    if os.path.exists(pidfile) and open(pidfile).read().strip():
        break
    time.sleep(0.05)
pid = int(open(pidfile).read())
windows_cpu = idle_cpu(pid)
os.kill(pid, 15)  # the program's own pid: it ends on SIGTERM
windows.wait(20)
ratio = windows_cpu / console_cpu if console_cpu > 0 else float("inf")
print("idle CPU over %g s: windows %.3f s, console %.3f s (baseline), ratio %.1f (target <= 2)"
      % (seconds, windows_cpu, console_cpu, ratio))
PY
