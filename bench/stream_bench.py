#!/usr/bin/env python3
"""The measuring half of bench/stream_bench.sh: see there for what and why.

usage: stream_bench.py PROGRAM MINUTES
"""
import math, os, random, shutil, signal, socket, statistics, subprocess, sys, tempfile, threading, time, json

program, minutes = sys.argv[1], float(sys.argv[2])
WARMUP = 15           # seconds before measuring
SONG_SECONDS = 45     # three songs: two minutes cross two changes of song
FREQUENCIES = [523.0, 1187.0, 2711.0]  # one to a song, no one a harmonic of another
RATE = 16000          # the listener's PCM: mono, 16-bit
TICK = os.sysconf("SC_CLK_TCK")
work = tempfile.mkdtemp(prefix="wavecrest-stream-bench-")
os.chmod(work, 0o755)
password = "bench%d" % random.randrange(10**9)
children = []


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start(argv, **kwargs):
    p = subprocess.Popen(argv, **kwargs)
    children.append(p)
    return p


def stop(p):
    # Only what this script started, by its PID.
    if p.poll() is None:
        p.terminate()
        try:
            p.wait(10)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()


def make_songs():
    folder = os.path.join(work, "music")
    os.makedirs(folder)
    paths = []
    for k, f in enumerate(FREQUENCIES):
        path = os.path.join(folder, "song %d.mp3" % (k + 1))
        graph = ("sine=frequency=%g:sample_rate=44100:duration=%d,volume=3[t];"
                 "anoisesrc=color=pink:amplitude=0.05:sample_rate=44100:duration=%d[n];"
                 "[t][n]amix=inputs=2:normalize=0,aformat=channel_layouts=stereo[s]" % (f, SONG_SECONDS, SONG_SECONDS))
        subprocess.run(["ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-filter_complex", graph,
                        "-map", "[s]", "-c:a", "libmp3lame", "-b:a", "128k", "-write_id3v1", "1",
                        "-metadata", "artist=Bench", "-metadata", "title=Song %d" % (k + 1), path], check=True)
        paths.append(path)
    with open(os.path.join(work, "songs.m3u"), "w") as f:
        f.write("\n".join(paths) + "\n")
    return folder, paths


def start_icecast():
    port = free_port()
    logs = os.path.join(work, "log")
    os.makedirs(logs)
    os.chmod(logs, 0o777)
    owner = ("<security><chroot>0</chroot><changeowner><user>nobody</user><group>nogroup</group>"
             "</changeowner></security>") if os.geteuid() == 0 else ""
    config = os.path.join(work, "icecast.xml")
    with open(config, "w") as f:
        f.write("""<icecast><location>bench</location><admin>bench@bench</admin><hostname>127.0.0.1</hostname>
<limits><clients>100</clients><sources>8</sources><queue-size>524288</queue-size><source-timeout>10</source-timeout>
<burst-on-connect>1</burst-on-connect><burst-size>65536</burst-size></limits>
<authentication><source-password>%s</source-password><admin-user>admin</admin-user>
<admin-password>%s</admin-password></authentication>
<listen-socket><port>%d</port><bind-address>127.0.0.1</bind-address></listen-socket>
<paths><basedir>/usr/share/icecast2</basedir><logdir>%s</logdir><webroot>/usr/share/icecast2/web</webroot>
<adminroot>/usr/share/icecast2/admin</adminroot></paths>
<logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog><loglevel>2</loglevel></logging>
%s</icecast>""" % (password, password, port, logs, owner))
    server = start(["icecast2", "-c", config], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(lambda: connectable(port), 15, "icecast2 did not start")
    return server, port


def connectable(port):
    try:
        socket.create_connection(("127.0.0.1", port), 1).close()
        return True
    except OSError:
        return False


def wait_for(condition, seconds, failure):
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > end:
            raise RuntimeError(failure)
        time.sleep(0.1)


def on_air(port, mount):
    try:
        with socket.create_connection(("127.0.0.1", port), 5) as s:
            s.sendall(b"GET /status-json.xsl HTTP/1.0\r\n\r\n")
            data = b""
            while chunk := s.recv(65536):
                data += chunk
        sources = json.loads(data.split(b"\r\n\r\n", 1)[1])["icestats"].get("source", [])
        sources = sources if isinstance(sources, list) else [sources]
        return any(s.get("listenurl", "").endswith(mount) for s in sources)
    except (OSError, ValueError, KeyError):
        return False


class Listener:
    """ffmpeg decoding a mount to PCM; every chunk kept with its arrival time."""

    def __init__(self, port, mount):
        self.chunks = []
        self.proc = start(["ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-fflags", "nobuffer",
                           "-probesize", "32768", "-analyzeduration", "0", "-i",
                           "http://127.0.0.1:%d%s" % (port, mount), "-ac", "1", "-ar", str(RATE), "-f", "s16le",
                           "-flush_packets", "1", "pipe:1"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.thread = threading.Thread(target=self.read, daemon=True)
        self.thread.start()

    def read(self):
        fd = self.proc.stdout.fileno()
        while chunk := os.read(fd, 65536):
            self.chunks.append((time.monotonic(), chunk))

    def seconds_between(self, start, end):
        n = sum(len(c) for t, c in list(self.chunks) if start < t <= end)
        return n / 2 / RATE

    def first_song_after(self, moment, song, limit=5.0):
        """Arrival time of the first 20 ms of `song` that arrived after `moment`."""
        samples = bytearray()
        for t, c in list(self.chunks):
            if t <= moment:
                continue
            if t > moment + limit:
                break
            samples += c
            while len(samples) >= 640:
                window, samples = samples[:640], samples[640:]
                if dominant(window) == song:
                    return t
        return None

    def close(self):
        stop(self.proc)


def dominant(window):
    """The song whose frequency holds most of a 20 ms window, or None."""
    x = memoryview(bytes(window)).cast("h")
    energy = sum(v * v for v in x) or 1
    best, best_share = None, 0.5
    for k, f in enumerate(FREQUENCIES):
        c = 2 * math.cos(2 * math.pi * f / RATE)
        s1 = s2 = 0.0
        for v in x:
            s1, s2 = v + c * s1 - s2, s1
        share = (s1 * s1 + s2 * s2 - c * s1 * s2) / (len(x) * energy / 2)
        if share > best_share:
            best, best_share = k, share
    return best


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def peak_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def measure(name, proc, port, mount, after=None):
    """Warm-up, then CPU, peak RSS and audio received over the measured minutes."""
    if mount:
        wait_for(lambda: on_air(port, mount) or proc.poll() is not None, 60, name + " never came on the air")
        if proc.poll() is not None:
            raise RuntimeError(name + " ended")
    listener = Listener(port, mount) if mount else None
    time.sleep(WARMUP)
    cpu0, t0 = cpu_seconds(proc.pid), time.monotonic()
    time.sleep(minutes * 60)
    cpu1, t1 = cpu_seconds(proc.pid), time.monotonic()
    result = {"cpu": (cpu1 - cpu0) / ((t1 - t0) / 60), "rss": peak_mb(proc.pid), "wall": t1 - t0}
    if listener:
        result["audio"] = listener.seconds_between(t0, t1)
    if after:
        result.update(after(listener))
    if listener:
        listener.close()
    stop(proc)
    return result


def peers(port, songs):
    ez = os.path.join(work, "ezstream.xml")
    with open(os.open(ez, os.O_WRONLY | os.O_CREAT, 0o600), "w") as f:
        f.write("""<ezstream><servers><server><protocol>HTTP</protocol><hostname>127.0.0.1</hostname><port>%d</port>
<password>%s</password></server></servers><streams><stream><mountpoint>/ezstream</mountpoint><format>MP3</format>
</stream></streams><intakes><intake><type>playlist</type><filename>%s</filename></intake></intakes></ezstream>"""
                % (port, password, os.path.join(work, "songs.m3u")))
    liq = os.path.join(work, "bench.liq")
    with open(liq, "w") as f:
        f.write("""settings.init.allow_root.set(true)
settings.log.file.set(false)
output.icecast(%%mp3(bitrate=128), host="127.0.0.1", port=%d, password="%s", mount="/liquidsoap",
  mksafe(playlist(mode="normal", "%s")))
""" % (port, password, os.path.join(work, "songs.m3u")))
    quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return [("ezstream", measure("ezstream", start(["ezstream", "-c", ez], **quiet), port, "/ezstream")),
            ("liquidsoap", measure("liquidsoap", start(["liquidsoap", liq], **quiet), port, "/liquidsoap"))]


def wavecrest(port, folder, stream):
    settings = os.path.join(work, "wavecrest-%s.dat" % ("stream" if stream else "plain"))
    with open(settings, "w") as f:
        f.write("[settings]\nscreen name=member\ndirectory=%s/\n" % folder)
    argv = [program, "--console", "--raw", "--settings", settings, "--member", "member"]
    if stream:
        argv += ["--stream", "icecast://source@127.0.0.1:%d/wavecrest" % port]
    env = dict(os.environ, WAVECREST_AUDIO_OUT="null", WAVECREST_STREAM_PASSWORD=password)
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    proc = start(argv, env=env, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def say(line):
        proc.stdin.write((line + "\n").encode())
        proc.stdin.flush()

    say("order")
    say("p song 1")

    def next_latency(listener):
        # Each `next` in the middle of a song, the listener long at the live edge.
        latencies = []
        for _ in range(5):
            time.sleep(6)
            playing = dominant_recent(listener)
            if playing is None:
                continue
            asked = time.monotonic()
            say("next")
            time.sleep(3)
            heard = listener.first_song_after(asked, (playing + 1) % 3)
            if heard is not None:
                latencies.append((heard - asked) * 1000)
        return {"next": latencies}

    return measure("wavecrest", proc, port, "/wavecrest" if stream else None, next_latency if stream else None)


def dominant_recent(listener):
    recent = bytearray()
    for _, c in list(listener.chunks)[-8:]:
        recent += c
    return dominant(recent[-640:]) if len(recent) >= 640 else None


def has_stream_option():
    out = subprocess.run([program, "--help"], capture_output=True, text=True)
    return "--stream" in out.stdout + out.stderr


def report(rows):
    print("%-22s %14s %12s %22s" % ("streamer", "CPU s/min", "peak RSS", "audio / wall-clock"))
    for name, r in rows:
        audio = ("%.1f s / %.1f s (%+.2f %%)" % (r["audio"], r["wall"], (r["audio"] / r["wall"] - 1) * 100)
                 if "audio" in r else "-")
        print("%-22s %14.3f %9.1f MB %22s" % (name, r["cpu"], r["rss"], audio), flush=True)


def main():
    folder, songs = make_songs()
    server, port = start_icecast()
    try:
        rows = peers(port, songs)
        if has_stream_option():
            streaming = wavecrest(port, folder, True)
            plain = wavecrest(port, folder, False)
            rows += [("wavecrest --stream", streaming), ("wavecrest (no stream)", plain)]
        else:
            streaming = None
            print("%s has no --stream: wavecrest is left out" % program)
        print("over %g minutes each after a %d s warm-up; songs of %d s" % (minutes, WARMUP, SONG_SECONDS))
        report(rows)
        liquidsoap = dict(rows)["liquidsoap"]
        if streaming:
            print("wavecrest CPU / liquidsoap CPU: %.2f (target <= 0.5)" % (streaming["cpu"] / liquidsoap["cpu"]))
            print("RSS added by --stream: %.1f MB (target <= 15 MB)" % (streaming["rss"] - plain["rss"]))
            lat = streaming["next"]
            if lat:
                print("next -> first new audio at a listener: median %.0f ms, max %.0f ms over %d (target <= 300 ms)"
                      % (statistics.median(lat), max(lat), len(lat)))
            else:
                print("next -> first new audio: the new song was never heard")
    finally:
        for p in reversed(children):
            stop(p)
        shutil.rmtree(work, ignore_errors=True)


signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
main()
