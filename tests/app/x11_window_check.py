#!/usr/bin/env python3
"""Looks at a running window through the X server's own eyes (standard library only).

  x11_window_check.py shape WINDOW SKIN.png
      The window's bounding shape, as the server holds it, must cover exactly
      the skin's pixels that are not pure black.
  x11_window_check.py drag WINDOW X Y DX DY
      Presses the left button at window point (X, Y) with a synthetic mouse
      (xdotool), moves it by (DX, DY), releases it, and waits (10 s at most)
      for the server to report the window moved by (DX, DY).
  x11_window_check.py turns WINDOW X Y W H SKIN.png
      The line at (X, Y), W x H pixels, as the server shows it: text lighter
      than the skin on the skin's own pixels, and (within 10 s) another
      picture of the same kind: the line turned.
  x11_window_check.py unmapped WINDOW COMMAND...
      Runs COMMAND (xdotool keys, say) and waits (10 s at most) for the
      server to report the window unmapped: hidden by what COMMAND did.
"""

import ctypes
import select
import struct
import subprocess
import sys
import time
import zlib

x11 = ctypes.CDLL("libX11.so.6")
xext = ctypes.CDLL("libXext.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                      ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                      ctypes.POINTER(ctypes.c_ulong)]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XFree.argtypes = [ctypes.c_void_p]


class XRectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort), ("height", ctypes.c_ushort)]


xext.XShapeGetRectangles.restype = ctypes.POINTER(XRectangle)
xext.XShapeGetRectangles.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.POINTER(ctypes.c_int),
                                     ctypes.POINTER(ctypes.c_int)]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
                ("data", ctypes.POINTER(ctypes.c_ubyte)), ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                          ctypes.c_ulong, ctypes.c_int]
SHAPE_BOUNDING = 0
STRUCTURE_NOTIFY_MASK = 1 << 17
UNMAP_NOTIFY = 18


def read_png_rgb(path):
    """Decodes an 8-bit RGB or RGBA PNG into rows of (r, g, b)."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, width, height, channels = 8, b"", 0, 0, 3
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour in (2, 6), "only 8-bit RGB(A)"
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return rows


def display():
    dpy = x11.XOpenDisplay(None)
    if not dpy:
        sys.exit("x11_window_check: cannot open the display")
    return dpy


def position(dpy, window):
    x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
    x11.XTranslateCoordinates(dpy, window, x11.XDefaultRootWindow(dpy), 0, 0, ctypes.byref(x), ctypes.byref(y),
                              ctypes.byref(child))
    return x.value, y.value


def wait_for(dpy, done, timeout=10.0):
    """Takes the server's events until done(event) holds (done(None) is asked
    first); False when no event came for `timeout` seconds."""
    event = ctypes.create_string_buffer(256)
    fd = x11.XConnectionNumber(dpy)
    if done(None):
        return True
    while True:
        # A request may queue events inside Xlib; take those first, then
        # wait on the connection for more.
        if x11.XPending(dpy):
            x11.XNextEvent(dpy, event)
            if done(event):
                return True
            continue
        ready, _, _ = select.select([fd], [], [], timeout)
        if not ready:
            return False


def check_shape(window, skin_path):
    dpy = display()
    count, ordering = ctypes.c_int(), ctypes.c_int()
    rects = xext.XShapeGetRectangles(dpy, window, SHAPE_BOUNDING, ctypes.byref(count), ctypes.byref(ordering))
    shown = set()
    for i in range(count.value):
        r = rects[i]
        for y in range(r.y, r.y + r.height):
            for x in range(r.x, r.x + r.width):
                shown.add((x, y))
    if rects:
        x11.XFree(rects)
    skin = read_png_rgb(skin_path)
    expected = {(x, y) for y, row in enumerate(skin) for x, p in enumerate(row) if p != (0, 0, 0)}
    xs = [x for x, _ in expected]
    ys = [y for _, y in expected]
    print(f"shape: {count.value} rectangles, {len(shown)} pixels; skin outline {len(expected)} pixels, "
          f"extents {max(xs) - min(xs) + 1}x{max(ys) - min(ys) + 1}+{min(xs)}+{min(ys)}")
    if shown != expected:
        extra, missing = len(shown - expected), len(expected - shown)
        sys.exit(f"x11_window_check: the window's shape is not the skin's outline "
                 f"({extra} pixels shown that are black, {missing} not shown that are not)")


def check_drag(window, x, y, dx, dy):
    dpy = display()
    x11.XSelectInput(dpy, window, STRUCTURE_NOTIFY_MASK)
    x11.XFlush(dpy)
    start = position(dpy, window)
    sx, sy = start[0] + x, start[1] + y
    subprocess.run(["xdotool", "mousemove", "--sync", str(sx), str(sy), "mousedown", "1",
                    "mousemove", "--sync", str(sx + dx), str(sy + dy), "mouseup", "1"], check=True)
    want = (start[0] + dx, start[1] + dy)
    # The server reports the window's moves; the timeout only guards against
    # a window that never moves.
    if not wait_for(dpy, lambda event: position(dpy, window) == want):
        sys.exit(f"x11_window_check: the window stayed at {position(dpy, window)}, "
                 f"started at {start}, expected {want}")
    print(f"drag: the window moved from {start} to {position(dpy, window)}")


def read_window(dpy, window, x, y, w, h):
    """The window's pixels (its children's included) as rows of (r, g, b)."""
    image = x11.XGetImage(dpy, window, x, y, w, h, 0xFFFFFFFF, 2)  # all planes, ZPixmap
    if not image or image.contents.bits_per_pixel != 32 or image.contents.byte_order != 0:
        sys.exit("x11_window_check: the server's pixels are not 32-bit, least significant byte first")
    i = image.contents
    data = ctypes.string_at(i.data, i.bytes_per_line * h)
    rows = [[(data[r * i.bytes_per_line + 4 * c + 2], data[r * i.bytes_per_line + 4 * c + 1],
              data[r * i.bytes_per_line + 4 * c]) for c in range(w)] for r in range(h)]
    x11.XFree(i.data)
    x11.XFree(image)
    return rows


def check_turns(window, x, y, w, h, skin_path):
    dpy = display()
    skin = [row[x:x + w] for row in read_png_rgb(skin_path)[y:y + h]]

    def judged(rows):
        text = 0
        for shown_row, skin_row in zip(rows, skin):
            for shown, under in zip(shown_row, skin_row):
                # Light text laid over the dark skin only ever lightens it.
                if any(a < b - 1 for a, b in zip(shown, under)):  # 1: rounding of the blend
                    sys.exit(f"x11_window_check: the line shows {shown} where the skin is {under}")
                text += shown != under
        if text < w * h // 50:
            sys.exit(f"x11_window_check: the line shows almost no text ({text} pixels)")
        return text

    first = read_window(dpy, window, x, y, w, h)
    judged(first)
    end = time.monotonic() + 10
    while time.monotonic() < end:
        now = read_window(dpy, window, x, y, w, h)
        if now != first:
            print(f"turns: the line shows text ({judged(now)} pixels) and turned")
            return
        time.sleep(0.05)
    sys.exit("x11_window_check: the line did not turn in 10 s")


def check_unmapped(window, command):
    dpy = display()
    x11.XSelectInput(dpy, window, STRUCTURE_NOTIFY_MASK)
    x11.XFlush(dpy)
    subprocess.run(command, check=True)
    if not wait_for(dpy, lambda event: event is not None and struct.unpack_from("i", event.raw)[0] == UNMAP_NOTIFY):
        sys.exit(f"x11_window_check: the window stayed mapped after {' '.join(command)}")
    print(f"unmapped: {' '.join(command)} hid the window")


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "shape":
        check_shape(int(sys.argv[2], 0), sys.argv[3])
    elif len(sys.argv) == 7 and sys.argv[1] == "drag":
        check_drag(int(sys.argv[2], 0), *(int(a) for a in sys.argv[3:]))
    elif len(sys.argv) == 8 and sys.argv[1] == "turns":
        check_turns(int(sys.argv[2], 0), *(int(a) for a in sys.argv[3:7]), sys.argv[7])
    elif len(sys.argv) >= 4 and sys.argv[1] == "unmapped":
        check_unmapped(int(sys.argv[2], 0), sys.argv[3:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
