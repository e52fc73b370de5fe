#!/usr/bin/env python3
"""How long a new user waits for Quillery: the real program started under Xvfb
on generated books, timed from exec to its window being mapped and to the
first repaint that covers the whole window (XDamage), with its resident
memory then and once it has gone idle. Median of the runs per book.

    bench/start-time.py build/bin/quillery [--runs 5] [--sizes 0,5000,100000,1000000]

Each book has 100 tasks per page and opens on its first page. The books are
made once per run of this script in a temporary folder (the largest takes a
few seconds); every start gets fresh preferences and its own session bus.
"""

import argparse
import ctypes
import ctypes.util
import os
import select
import shutil
import signal
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import time
import uuid

# --- Xlib and XDamage through ctypes ---------------------------------------

xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
xdamage = ctypes.CDLL(ctypes.util.find_library("Xdamage") or "libXdamage.so.1")

xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
xlib.XPending.argtypes = [ctypes.c_void_p]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
xlib.XSetErrorHandler.restype = ctypes.c_void_p
xdamage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
xdamage.XDamageCreate.restype = ctypes.c_ulong
xdamage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]

SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
CREATE_NOTIFY, MAP_NOTIFY, CONFIGURE_NOTIFY = 16, 19, 22
DAMAGE_REPORT_RAW_RECTANGLES = 0


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


class XAnyWindowEvent(ctypes.Structure):
    # CreateNotify, MapNotify and ConfigureNotify begin alike: the parent (or
    # the window the event was selected on), then the window itself.
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("parent", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int)]


class XRectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort), ("height", ctypes.c_ushort)]


class XDamageNotifyEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("drawable", ctypes.c_ulong), ("damage", ctypes.c_ulong),
                ("level", ctypes.c_int), ("more", ctypes.c_int), ("timestamp", ctypes.c_ulong),
                ("area", XRectangle), ("geometry", XRectangle)]


# Windows may go before their damage objects: such errors are expected.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)


class Coverage:
    """Which 8 × 8 cells of a window have been drawn."""

    def __init__(self, width, height):
        self.cols, self.rows = (width + 7) // 8, (height + 7) // 8
        self.width, self.height = width, height
        self.cells = bytearray(self.cols * self.rows)
        self.missing = len(self.cells)

    def add(self, x, y, w, h):
        x0, y0 = max(0, x) // 8, max(0, y) // 8
        x1, y1 = min(self.width, x + w), min(self.height, y + h)
        for row in range(y0, (y1 + 7) // 8):
            base = row * self.cols
            for col in range(x0, (x1 + 7) // 8):
                if not self.cells[base + col]:
                    self.cells[base + col] = 1
                    self.missing -= 1
        return self.missing == 0


def start_once(program, env, display):
    """Starts the program once; returns (mapped s, painted s, rss MB then, pid, process)."""
    dpy = xlib.XOpenDisplay(display.encode())
    if not dpy:
        sys.exit("cannot open display " + display)
    xlib.XSetErrorHandler(ERROR_HANDLER)
    base, error = ctypes.c_int(), ctypes.c_int()
    if not xdamage.XDamageQueryExtension(dpy, ctypes.byref(base), ctypes.byref(error)):
        sys.exit("the X server has no DAMAGE extension")
    root = xlib.XDefaultRootWindow(dpy)
    xlib.XSelectInput(dpy, root, SUBSTRUCTURE_NOTIFY_MASK)
    xlib.XSync(dpy, 0)
    fd = xlib.XConnectionNumber(dpy)

    sizes = {}  # window → (width, height), from its creation and configuration
    mapped_at = painted_at = None
    shown = None
    coverage = None
    event = XEvent()
    t0 = time.monotonic()
    process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = t0 + 60
    while painted_at is None and time.monotonic() < deadline and process.poll() is None:
        if not xlib.XPending(dpy):
            select.select([fd], [], [], 0.05)
            continue
        xlib.XNextEvent(dpy, ctypes.byref(event))
        now = time.monotonic() - t0
        if event.type == CREATE_NOTIFY:
            e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XAnyWindowEvent)).contents
            sizes[e.window] = (e.width, e.height)
            # Before anything is drawn into it.
            xdamage.XDamageCreate(dpy, e.window, DAMAGE_REPORT_RAW_RECTANGLES)
            xlib.XFlush(dpy)
        elif event.type == CONFIGURE_NOTIFY:
            e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XAnyWindowEvent)).contents
            sizes[e.window] = (e.width, e.height)
            if e.window == shown:
                coverage = Coverage(e.width, e.height)
        elif event.type == MAP_NOTIFY:
            e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XAnyWindowEvent)).contents
            width, height = sizes.get(e.window, (0, 0))
            if shown is None and width >= 200 and height >= 200:
                shown, mapped_at = e.window, now
                coverage = Coverage(width, height)
        elif event.type == base.value:
            e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XDamageNotifyEvent)).contents
            if e.drawable == shown and coverage is not None:
                if coverage.add(e.area.x, e.area.y, e.area.width, e.area.height):
                    painted_at = now
    rss = resident_mb(process.pid)
    xlib.XCloseDisplay(dpy)
    return mapped_at, painted_at, rss, process


def resident_mb(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
    except OSError:
        pass
    return float("nan")


def cpu_ticks(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
            return int(fields[11]) + int(fields[12])
    except OSError:
        return -1


def idle_rss(pid, limit=60):
    """Resident memory once the process used no processor time for half a second."""
    end = time.monotonic() + limit
    last = cpu_ticks(pid)
    while time.monotonic() < end:
        time.sleep(0.5)
        now = cpu_ticks(pid)
        if now == last:
            break
        last = now
    return resident_mb(pid)


# --- books ---------------------------------------------------------------


def make_book(template, path, tasks, per_page=100):
    """A book of `tasks` tasks laid out like the program's own (its schema is
    copied from `template`, a book the program made)."""
    if os.path.exists(path):
        os.remove(path)
    source = sqlite3.connect(template)
    book = sqlite3.connect(path)
    for (sql,) in source.execute("SELECT sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY rowid"):
        book.execute(sql)
    book.executemany("INSERT INTO meta (key, value) VALUES (?, ?)", source.execute("SELECT key, value FROM meta"))
    source.close()
    stamp = 1_700_000_000_000
    pages = []
    for p in range((tasks + per_page - 1) // per_page):
        pages.append((str(uuid.uuid4()).upper(), float(p + 1), f"Page {p + 1}", p % 7, stamp + p, stamp + p))
    book.executemany(
        "INSERT INTO page (id, position, title, color_index, created, modified, pending) VALUES (?, ?, ?, ?, ?, ?, 0)",
        pages)

    def rows():
        for t in range(tasks):
            page = pages[t // per_page][0]
            yield (str(uuid.uuid4()).upper(), f"Call the plumber about the kitchen sink, item {t}", t % 5 == 0,
                   float(t % per_page + 1), stamp + t, page, stamp + t)

    book.executemany(
        "INSERT INTO task (id, text, done, sort_order, created, page_id, modified, pending)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, 0)", rows())
    book.commit()
    book.execute("PRAGMA journal_mode = WAL")
    book.close()


def environment(home, display, address):
    os.makedirs(os.path.join(home, "data", "Quillery"), exist_ok=True)
    env = dict(os.environ, DISPLAY=display, HOME=home, XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_CACHE_HOME=os.path.join(home, "cache"),
               XDG_STATE_HOME=os.path.join(home, "state"), XDG_RUNTIME_DIR=home,
               DBUS_SESSION_BUS_ADDRESS=address, QT_QPA_PLATFORM="xcb")
    env.pop("WAYLAND_DISPLAY", None)
    return env


def stop(process):
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(60)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--sizes", default="0,5000,100000,1000000")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    sizes = [int(s) for s in args.sizes.split(",")]

    work = tempfile.mkdtemp(prefix="quillery-start-")
    display = ":%d" % (90 + os.getpid() % 100)
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, text=True)
    address = bus.stdout.readline().strip()
    time.sleep(0.5)
    try:
        # A first start, not counted, warms the disk cache and makes the
        # book whose schema the generated ones copy.
        warm = os.path.join(work, "warm")
        _, _, _, process = start_once(program, environment(warm, display, address), display)
        idle_rss(process.pid, 10)
        stop(process)
        template = os.path.join(warm, "data", "Quillery", "book.sqlite")
        print(f"{'tasks':>9} {'mapped s':>9} {'painted s':>10} {'RSS MB':>7} {'idle RSS MB':>12}")
        for size in sizes:
            results = []
            for run in range(args.runs):
                home = os.path.join(work, f"home-{size}-{run}")
                data = os.path.join(home, "data", "Quillery")
                os.makedirs(data)
                os.chmod(home, 0o700)
                if size > 0:
                    book = os.path.join(work, f"book-{size}.sqlite")
                    if not os.path.exists(book):
                        make_book(template, book, size)
                    shutil.copy(book, os.path.join(data, "book.sqlite"))
                mapped, painted, rss, process = start_once(program, environment(home, display, address), display)
                idle = idle_rss(process.pid)
                stop(process)
                if mapped is None or painted is None:
                    sys.exit(f"{size} tasks: the window was not {'mapped' if mapped is None else 'painted'}")
                results.append((mapped, painted, rss, idle))
            med = [statistics.median(r[i] for r in results) for i in range(4)]
            print(f"{size:>9} {med[0]:>9.3f} {med[1]:>10.3f} {med[2]:>7.1f} {med[3]:>12.1f}", flush=True)
    finally:
        xvfb.terminate()
        bus.terminate()
        xvfb.wait()
        bus.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
