#!/usr/bin/env python3
"""Plays the real game on its own Xvfb with XTEST key presses and checks its screens pixel by pixel, texts against
Allegro's own 8x8 font. Usage: e2e.py GAME OUT; with MIRVANES_E2E_CPU set it also takes processor figures.
A PNG of each step and figures.txt go to OUT/e2e-shots/e2e/, the game's working directory and output to OUT/e2e-work/."""
import ctypes as C, glob, os, shutil, signal, struct, subprocess, sys, time, zlib

pk = lambda r, g, b: (r >> 3) << 11 | (g >> 2) << 5 | b >> 3  # a colour as a pixel of the game's 16-bit frame
RED, GREEN, MANA, WHITE, BLACK, YELLOW = pk(255, 0, 0), pk(0, 255, 0), pk(0, 0, 204), pk(255, 255, 255), 0, pk(253, 250, 0)
GREY, OWN, FOE = pk(221, 221, 221), pk(204, 0, 0), pk(0, 0, 204)
MENU = [(100, 370, 300, 430), (340, 370, 540, 430)]
CHOOSER = [(20, 190, 155, 220), (165, 190, 310, 220), (330, 190, 465, 220), (475, 190, 620, 220)]
X11, XTST, LIBC, AL = C.CDLL("libX11.so.6"), C.CDLL("libXtst.so.6"), C.CDLL(None), C.CDLL("liballeg.so.4.4")
X11.XOpenDisplay.restype = X11.XGetImage.restype = AL.create_bitmap_ex.restype = C.c_void_p
X11.XDefaultRootWindow.restype = X11.XStringToKeysym.restype = C.c_ulong
X11.XGetImage.argtypes = [C.c_void_p, C.c_ulong, C.c_int, C.c_int, C.c_uint, C.c_uint, C.c_ulong, C.c_int]


# The characters 32 to 126 of the game's font, drawn by the library itself on its system driver for no display.
assert AL.install_allegro(0x4E4F4E45, C.byref(C.c_int()), None) == 0
BMP = C.c_void_p(AL.create_bitmap_ex(8, 760, 8))
AL.clear_bitmap(BMP), AL.textout_ex(BMP, C.c_void_p.in_dll(AL, "font"), bytes(range(32, 127)), 0, 0, 1, 0)
FONT = {chr(32 + k): [(x, y, AL.getpixel(BMP, 8 * k + x, y) != 0) for y in range(8) for x in range(8)] for k in range(95)}


class Shot:  # a screenshot of a display of depth 24, where the driver widens the game's 16-bit pixels
    def __init__(self, image):  # an XImage: ints 0, 1, 11 and 12 are width, height, line and pixel sizes; data at byte 16
        w, h, *_, line, bits = C.cast(image, C.POINTER(C.c_int))[:13]
        assert bits == 32, "screenshots need a display of depth 24"
        self.w, self.h, self.data = w, h, C.string_at(C.c_void_p.from_address(image + 16).value, line * h)
        X11.XDestroyImage(C.c_void_p(image))

    def px(self, x, y):  # the 5-6-5 pixel at (x, y), None off the screen
        i = 4 * (y * self.w + x)
        return pk(self.data[i + 2], self.data[i + 1], self.data[i]) if 0 <= x < self.w and 0 <= y < self.h else None

    def png(self, path):
        rgb, n = bytearray(3 * self.w * self.h), 3 * self.w
        rgb[0::3], rgb[1::3], rgb[2::3] = self.data[2::4], self.data[1::4], self.data[0::4]
        chunk = lambda kind, body: struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
        rows = zlib.compress(b"".join(b"\0" + rgb[y * n:y * n + n] for y in range(self.h)), 1)
        head = chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 2, 0, 0, 0))
        open(path, "wb").write(b"\x89PNG\r\n\x1a\n" + head + chunk(b"IDAT", rows) + chunk(b"IEND", b""))


def text(img, s, x, y, fg, bg=None):  # s at top-left (x, y): its font's pixels in fg, others not (and in bg if given)
    return all(p is None or (p == fg) == on and (on or bg is None or p == bg)
               for k, ch in enumerate(s) for dx, dy, on in FONT[ch] for p in [img.px(x + 8 * k + dx, y + dy)])


centre = lambda img, s, cx, y, fg, bg=None: text(img, s, cx - 4 * len(s), y, fg, bg)  # s centred on x = cx


def framed(img, rects, s=1):  # the one of the rectangles outlined in red, s pixels thick at s times its coordinates
    def outlined(x1, y1, x2, y2):  # with nothing red just outside or inside its top and left edges
        x1, y1, x2, y2, mx, my = s * x1, s * y1, s * x2 + s - 1, s * y2 + s - 1, s * (x1 + x2) // 2, s * (y1 + y2) // 2
        ring = [(x, y) for x in range(x1, x2 + 1) for y in range(y1, y2 + 1) if not (x1 + s <= x <= x2 - s and y1 + s <= y <= y2 - s)]
        beside = (mx, y1 - 1), (mx, y1 + s), (x1 - 1, my), (x1 + s, my)
        return all(img.px(*p) == RED for p in ring) and not any(img.px(*p) == RED for p in beside)
    hits = [i for i, rect in enumerate(rects) if outlined(*rect)]
    return hits[0] if len(hits) == 1 else None


def battle(img):  # what the battle screen shows, or None when its three bars do not show at least their first columns
    if not (img.px(20, 167) == img.px(620, 167) == GREEN and img.px(255, 167) == MANA):
        return None
    bar = lambda x, step, colour: next(n for n in range(131) if img.px(x + step * (n + 1), 167) != colour)  # past the first
    def slot(k):  # (the kind whose button picture it shows, the mana in its corner), None without a number
        n = next((n for n in range(20, -1, -1) if text(img, str(n), 70 + 60 * k - 8 * len(str(n)), 242, WHITE, BLACK)), None)
        same = lambda b: all(img.px(20 + 60 * k + x, 200 + y) == img.px(570 + x, 200 + 60 * b + y)
                             for x in range(0, 40, 3) for y in range(0, 40, 3))
        return None if n is None else (next((b for b in range(4) if same(b)), None), n)
    cursor = [k for k in range(4) if all(img.px(620 + x, 225 + 60 * k + y) == RED for x, y in ((0, 0), (6, 0), (0, 6), (0, -6)))]
    end = "won" if text(img, " You have won!", 20, 262, OWN) else "lost" if text(img, " You have lost.", 20, 262, FOE) else None
    return dict(life=bar(20, 1, GREEN), foe=bar(620, -1, GREEN), mana=(2 * bar(255, 1, MANA) + 12) // 13, end=end,
                queue=[slot(k) for k in range(3)], cursor=cursor[0] if len(cursor) == 1 else None,
                amount=next((n for n in range(20, 0, -1) if centre(img, str(n), 350, 230, WHITE)), None))


def intro(img, number):  # "Battle N" on yellow, wherever it has slid to
    edge, s = min((x for y in range(230, 238) for x in range(img.w) if img.px(x, y) == BLACK), default=-99), "Battle %d" % number
    return img.px(0, 0) == YELLOW and any(text(img, s, x, 230, BLACK, YELLOW) for x in range(max(edge - 7, 0), edge + 1))


def dialog(img):  # the quit dialog's question in black on light grey, centred on the screen
    q = "Are you sure that you want to return to the main menu?"
    return any(centre(img, q, x, y, BLACK, GREY) for y in range(img.h) if img.px(img.w // 2, y) == GREY for x in range(316, 325))


class Doubled:  # a screenshot of a window at twice the size, read at the game's own coordinates; -1 where a pixel is not whole
    def __init__(self, img):
        self.img, self.w, self.h = img, 640, 480

    def px(self, x, y):
        p = {self.img.px(2 * x + dx, 2 * y + dy) for dx in (0, 1) for dy in (0, 1)}
        return p.pop() if len(p) == 1 else -1


class Game:  # Xvfb and the game, each start on a new display, all killed however this script ends; steps kept as PNGs
    def __init__(self, exe, out):
        self.exe, self.shots, self.work, self.procs, self.figures, self.step = exe, out + "/e2e-shots/e2e", out + "/e2e-work", [], [], 0
        for d in (self.shots, self.work):
            shutil.rmtree(d, ignore_errors=True)
            os.makedirs(d + "/cwd" if d == self.work else d)
        self.cwd, self.log = self.work + "/cwd", open(self.work + "/game.log", "wb")

    def spawn(self, argv, **kw):
        self.procs.append(subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log,
                                           preexec_fn=lambda: LIBC.prctl(1, signal.SIGKILL), **kw))  # dies with us
        return self.procs[-1]

    def start(self, screen="640x480x24", args=()):  # Xvfb with this screen, its number from -displayfd, then the game
        r, w = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(w), "-screen", "0", screen, "-nolisten", "tcp"], pass_fds=(w,))
        self.env = env = dict(os.environ, DISPLAY=":%d" % int(os.read(r, 16)), HOME=self.work)
        self.dpy, self.size = C.c_void_p(X11.XOpenDisplay(env["DISPLAY"].encode())), [int(v) for v in screen.split("x")[:2]]
        self.game = self.spawn([self.exe, *args], cwd=self.cwd, env=env)

    def press(self, key):  # down, held 100 ms so that a game polling its keys sees it, up: XTEST, as xdotool sends
        for down in (1, 0):
            XTST.XTestFakeKeyEvent(self.dpy, X11.XKeysymToKeycode(self.dpy, X11.XStringToKeysym(key.encode())), down, 0)
            X11.XFlush(self.dpy), time.sleep(0.1)

    def wait(self, key, label, test, timeout=15):  # the key, if any, then screenshots until test(shot); keeps the last
        if key:
            self.press(key)
        end, root = time.monotonic() + timeout, X11.XDefaultRootWindow(self.dpy)
        grab = lambda: Shot(X11.XGetImage(self.dpy, root, 0, 0, *self.size, 2 ** 64 - 1, 2))  # all planes, ZPixmap
        while self.game.poll() is None and not (ok := test(img := grab())) and time.monotonic() < end:
            time.sleep(0.02)
        assert self.game.poll() is None, "the game ended with status %s waiting for %s" % (self.game.returncode, label)
        self.step += 1
        img.png("%s/%03d-%s%s.png" % (self.shots, self.step, label, "" if ok else "-timeout"))
        assert ok, "waited %d s for %s" % (timeout, label)
        return img

    def cpu(self, where, limit=0.05):  # the game's processor use over 3 s, all its threads, as a share of one core
        used = lambda: sum(int(open(t + "/schedstat").read().split()[0]) for t in glob.glob("/proc/%d/task/*" % self.game.pid))
        before, start = used(), time.monotonic()
        time.sleep(3)
        share = (used() - before) / 1e9 / (time.monotonic() - start)  # schedstat counts nanoseconds on a processor
        self.figures.append("processor use on the %s: %.1f%% of one core" % (where, 100 * share))
        assert share <= limit, "more than %g%% of one core on the %s" % (100 * limit, where)


def fight(g, key, label, test, timeout=10):  # a key in the battle, then its state once test(state) holds
    return battle(g.wait(key, label, lambda i: (b := battle(i)) is not None and test(b), timeout))


def menus(g, steps):  # keys, each with the page of entries and the one framed after it
    for key, page, cursor in steps:
        g.wait(key, "%s-%d" % (key, cursor), lambda i: framed(i, page) == cursor)


def skipIntro(g, number):
    g.wait(None, "intro-%d" % number, lambda i: intro(i, number), 20)
    seen = time.monotonic()
    fight(g, "space", "battle-%d" % number, lambda b: b["cursor"] == 0)
    assert time.monotonic() - seen < 6, "the intro ran on after the key"  # alone it lasts 8 s


def begin(g, steps, measure):  # a start up to a battle: the main menu, these steps in the menus, the intro
    g.start()
    g.wait(None, "menu", lambda i: framed(i, MENU) == 0)
    measure("main menu")
    menus(g, steps)
    g.press("Return")
    skipIntro(g, 1)
    measure("battle while choosing")


def play(g, measure):  # menus, a Summer run to its first lost match, highscore, End game
    begin(g, [("Right", MENU, 1), ("Left", MENU, 0), ("Return", CHOOSER, 0), ("Left", CHOOSER, 3), ("Right", CHOOSER, 0),
              ("Right", CHOOSER, 1)], measure)
    wins, turn, b = 0, 0, None
    while not b or b["end"] != "lost":  # the special every turn costs Summer 20 of its own life
        turn += 1
        b = fight(g, "Up", "turn-%d-special" % turn, lambda b: b["cursor"] == 3)
        fight(g, "Return", "turn-%d-amount" % turn, lambda b: b["amount"] == 20 and b["cursor"] == 3)
        b = fight(g, "Return", "turn-%d-queued" % turn, lambda b: b["cursor"] is None)
        assert b["queue"] == [(3, 20), None, None] and b["mana"] == 0, "the special queued: %s" % b
        b = fight(g, None, "turn-%d-over" % turn, lambda b: b["cursor"] is not None or b["end"], 30)
        if b["end"] == "won":
            wins += 1
            skipIntro(g, wins + 1)
    g.figures.append("the run won %d matches in %d turns" % (wins, turn))
    img = g.wait(None, "highscore", lambda i: centre(i, "Highscore for Mirvane of Summer:", 320, 100, BLACK, YELLOW))
    for line, y in ("Your score: %d wins" % wins, 200), ("Old highscore: 0 wins", 300):
        assert text(img, line, 100, y, BLACK, YELLOW), line
    assert centre(img, "-Press Enter to return to main menu-", 320, 380, BLACK, YELLOW)
    assert open(g.cwd + "/highscore.mhs", "rb").read() == struct.pack("<4i", 0, wins, 0, 0), "highscore.mhs"
    measure("highscore screen")
    menus(g, [("Return", MENU, 0), ("Right", MENU, 1)])
    g.press("Return")
    assert g.game.wait(15) == 0 and os.listdir(g.cwd) == ["highscore.mhs"], "End game: status %s" % g.game.returncode


def fatal(g, measure):  # highscore.mhs a directory: Yes in the quit dialog ends the run, the message box, a failure status
    os.remove(g.cwd + "/highscore.mhs")
    os.mkdir(g.cwd + "/highscore.mhs")
    begin(g, [("Return", CHOOSER, 0)], lambda where: None)
    g.wait("Escape", "dialog", dialog)
    measure("quit dialog")
    # The library shows its message through xmessage, a child of the game, centred under the pointer Xvfb starts with.
    pgrep = lambda: subprocess.run(["pgrep", "-a", "-P", str(g.game.pid)], capture_output=True, text=True).stdout
    box = lambda i: "Unable to write to highscore file" in pgrep() and i.px(g.size[0] // 2, g.size[1] // 2) != BLACK
    g.wait("Return", "message", box)
    g.press("Return")
    assert g.game.wait(15) != 0, "a fatal error ends with status 0"
    assert os.listdir(g.cwd) == ["highscore.mhs"] and not os.listdir(g.cwd + "/highscore.mhs"), "the directory changed"


def doubled(g, measure):  # --window --scale 2 on a 1920x1080 desktop: a 1280x960 window, every screen in whole pixels
    g.start("1920x1080x24", ("--window", "--scale", "2"))
    XTST.XTestFakeMotionEvent(g.dpy, -1, 600, 400, 0)  # with no window manager keys go to the window under the pointer
    g.wait(None, "2x-menu", lambda i: framed(i, MENU, 2) == 0)
    assert "1280x960+0+0" in subprocess.run(["xwininfo", "-root", "-tree", "-display", g.env["DISPLAY"]],
                                            capture_output=True, text=True).stdout, "no 1280x960 window"
    measure("main menu in a 2x window", 0.02)
    g.wait("Right", "2x-Right", lambda i: framed(i, MENU, 2) == 1)
    g.wait("Left", "2x-Left", lambda i: framed(Doubled(i), MENU) == 0)
    g.wait("Return", "2x-chooser", lambda i: framed(Doubled(i), CHOOSER) == 0)
    g.press("Return")
    g.wait(None, "2x-intro", lambda i: intro(Doubled(i), 1), 20)
    b = battle(Doubled(g.wait("space", "2x-battle", lambda i: (b := battle(Doubled(i))) and b["cursor"] == 0)))
    g.wait("Escape", "2x-dialog", lambda i: dialog(Doubled(i)))
    g.press("Right")  # "Yes" has the focus; Right moves it to "No"
    g.wait("Return", "2x-dialog-no", lambda i: battle(Doubled(i)) == b)
    g.wait("Escape", "2x-dialog-again", lambda i: dialog(Doubled(i)))
    g.wait("Return", "2x-highscore", lambda i: text(Doubled(i), "Your score: 0 wins", 100, 200, BLACK, YELLOW))
    g.press("Return")
    g.wait("Right", "2x-end-game", lambda i: framed(i, MENU, 2) == 1)
    g.press("Return")
    assert g.game.wait(15) == 0, "End game in a 2x window: status %s" % g.game.returncode
    run = lambda *a: subprocess.run([g.exe, *a], capture_output=True, text=True, timeout=10, env={})  # no display
    h, v, bad = run("--help"), run("-V"), run("--scale", "9")
    assert h.returncode == 0 and h.stdout.startswith("Usage: mirvanes") and "--window" in h.stdout, h
    assert v.returncode == 0 and v.stdout.startswith("mirvanes "), v
    assert bad.returncode == 2 and not bad.stdout and bad.stderr.split("\n")[1:2] == ["Usage: mirvanes [OPTION]..."], bad


if __name__ == "__main__":
    g, started = Game(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])), time.monotonic()
    try:
        measure = g.cpu if "MIRVANES_E2E_CPU" in os.environ else lambda *_: None
        play(g, measure)
        doubled(g, measure)
        fatal(g, measure)
    finally:
        for p in reversed(g.procs):
            p.kill(), p.wait()
        g.figures.append("the end-to-end run took %.1f s; screenshots in %s" % (time.monotonic() - started, g.shots))
        print("\n".join(g.figures))
        open(g.shots + "/figures.txt", "w").write("\n".join(g.figures) + "\n")
