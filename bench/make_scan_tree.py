#!/usr/bin/env python3
# The benchmarks' library: 32,767 matching files and as many others, in about
# 1,000 directories over four levels, made once under ROOT (kept and reused).
#
# usage: bench/make_scan_tree.py ROOT
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
