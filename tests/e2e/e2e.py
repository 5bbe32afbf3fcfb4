#!/usr/bin/env python3
"""Plays the real game on its own Xvfb with XTEST key presses and checks its screens pixel by pixel, texts against
Allegro's own 8x8 font. Usage: e2e.py GAME OUT FAKEPAD (the built fakepad library); with MIRVANES_E2E_CPU set it also
takes processor figures.
A PPM of each step and figures.txt go to OUT/e2e-shots/e2e/, the game's working directory and output to OUT/e2e-work/."""
import collections, ctypes as C, fakepad, glob, os, shutil, signal, struct, subprocess, sys, time

pk = lambda r, g, b: (r >> 3) << 11 | (g >> 2) << 5 | b >> 3  # a colour as a pixel of the game's 16-bit frame
RED, GREEN, MANA, WHITE, BLACK, YELLOW = pk(255, 0, 0), pk(0, 255, 0), pk(0, 0, 204), pk(255, 255, 255), 0, pk(253, 250, 0)
GREY, OWN, FOE = pk(221, 221, 221), pk(204, 0, 0), pk(0, 0, 204)
MENU = [(100, 370, 300, 430), (340, 370, 540, 430)]
PAD_A, PAD_B, PAD_Y, PAD_START = 0, 1, 3, 7  # the pad's buttons and axes, as the Linux driver numbers a common pad
LEFT_STICK_Y, DPAD_Y = 1, 7
Place = collections.namedtuple("Place", "scale x y")  # the game's picture on the screen: enlarged, top-left corner at
ONE_TO_ONE = Place(scale=1, x=0, y=0)
WINDOW_2X = Place(scale=2, x=0, y=0)
FULL_SCREEN_1080 = Place(scale=2, x=320, y=60)  # full screen on a 1920x1080 desktop
CHOOSER = [(20, 190, 155, 220), (165, 190, 310, 220), (330, 190, 465, 220), (475, 190, 620, 220)]
X11, XTST, LIBC, AL = C.CDLL("libX11.so.6"), C.CDLL("libXtst.so.6"), C.CDLL(None), C.CDLL("liballeg.so.4.4")
X11.XOpenDisplay.restype = X11.XGetImage.restype = AL.create_bitmap_ex.restype = C.c_void_p
X11.XDefaultRootWindow.restype = X11.XStringToKeysym.restype = X11.XInternAtom.restype = C.c_ulong
X11.XGetImage.argtypes = [C.c_void_p, C.c_ulong, C.c_int, C.c_int, C.c_uint, C.c_uint, C.c_ulong, C.c_int]


# The characters 32 to 126 of the game's font, drawn by the library itself on its system driver for no display.
assert AL.install_allegro(0x4E4F4E45, C.byref(C.c_int()), None) == 0
BMP = C.c_void_p(AL.create_bitmap_ex(8, 760, 8))
AL.clear_bitmap(BMP), AL.textout_ex(BMP, C.c_void_p.in_dll(AL, "font"), bytes(range(32, 127)), 0, 0, 1, 0)
FONT = {chr(32 + k): [(x, y, AL.getpixel(BMP, 8 * k + x, y) != 0) for y in range(8) for x in range(8)] for k in range(95)}


class Shot:  # a screenshot of a depth-24 display, read at the game's coordinates where the game's picture stands
    def __init__(self, image, place):  # an XImage: ints 0, 1, 11 and 12 are width, height, line and pixel sizes; data at 16
        w, h, *_, line, bits = C.cast(image, C.POINTER(C.c_int))[:13]
        assert bits == 32, "screenshots need a display of depth 24, where the driver widens the game's 16-bit pixels"
        self.sw, self.sh, self.data = w, h, C.string_at(C.c_void_p.from_address(image + 16).value, line * h)
        self.s, self.left, self.top = place.scale, place.x, place.y
        self.w, self.h = 640, 480
        X11.XDestroyImage(C.c_void_p(image))

    def raw(self, x, y):  # the 5-6-5 pixel at (x, y) on the screen, None off it
        i = 4 * (y * self.sw + x)
        return pk(self.data[i + 2], self.data[i + 1], self.data[i]) if 0 <= x < self.sw and 0 <= y < self.sh else None

    def px(self, x, y):  # the game's pixel at (x, y): -1 where its s by s pixels on the screen are not all the same
        left, top = self.left + self.s * x, self.top + self.s * y
        if self.s == 1:
            return self.raw(left, top)
        p = {self.raw(left + dx, top + dy) for dx in range(self.s) for dy in range(self.s)}
        return p.pop() if len(p) == 1 else -1

    def ppm(self, path):
        rgb = bytearray(3 * self.sw * self.sh)
        rgb[0::3], rgb[1::3], rgb[2::3] = self.data[2::4], self.data[1::4], self.data[0::4]
        open(path, "wb").write(b"P6 %d %d 255\n" % (self.sw, self.sh) + rgb)


def text(img, s, x, y, fg, bg=None):  # s at top-left (x, y): its font's pixels in fg, others not (and in bg if given)
    return all(p is None or (p == fg) == on and (on or bg is None or p == bg)
               for k, ch in enumerate(s) for dx, dy, on in FONT[ch] for p in [img.px(x + 8 * k + dx, y + dy)])


centre = lambda img, s, cx, y, fg, bg=None: text(img, s, cx - 4 * len(s), y, fg, bg)  # s centred on x = cx


def framed(img, rects):  # the one of the rectangles outlined in red
    def outlined(x1, y1, x2, y2):  # with nothing red just outside or inside its top and left edges
        mx, my = (x1 + x2) // 2, (y1 + y2) // 2
        ring = [(x, y) for x in range(x1, x2 + 1) for y in range(y1, y2 + 1) if not (x1 < x < x2 and y1 < y < y2)]
        beside = (mx, y1 - 1), (mx, y1 + 1), (x1 - 1, my), (x1 + 1, my)
        return all(img.px(*p) == RED for p in ring) and not any(img.px(*p) == RED for p in beside)
    hits = [i for i, rect in enumerate(rects) if outlined(*rect)]
    return hits[0] if len(hits) == 1 else None


def spellCursor(img):  # the spell whose button the red dot stands beside, None for none or more than one
    def dotBeside(k):  # its centre and three points 6 pixels away
        return all(img.px(620 + x, 225 + 60 * k + y) == RED for x, y in ((0, 0), (6, 0), (0, 6), (0, -6)))
    dots = [k for k in range(4) if dotBeside(k)]
    return dots[0] if len(dots) == 1 else None


def battle(img):  # what the battle screen shows, or None when its three bars do not show at least their first columns
    if not (img.px(20, 167) == img.px(620, 167) == GREEN and img.px(255, 167) == MANA):
        return None
    bar = lambda x, step, colour: next(n for n in range(131) if img.px(x + step * (n + 1), 167) != colour)  # past the first
    def slot(k):  # (the kind whose button picture it shows, the mana in its corner), None without a number
        n = next((n for n in range(20, -1, -1) if text(img, str(n), 70 + 60 * k - 8 * len(str(n)), 242, WHITE, BLACK)), None)
        same = lambda b: all(img.px(20 + 60 * k + x, 200 + y) == img.px(570 + x, 200 + 60 * b + y)
                             for x in range(0, 40, 3) for y in range(0, 40, 3))
        return None if n is None else (next((b for b in range(4) if same(b)), None), n)
    end = "won" if text(img, " You have won!", 20, 262, OWN) else "lost" if text(img, " You have lost.", 20, 262, FOE) else None
    return dict(life=bar(20, 1, GREEN), foe=bar(620, -1, GREEN), mana=(2 * bar(255, 1, MANA) + 12) // 13, end=end,
                queue=[slot(k) for k in range(3)], cursor=spellCursor(img),
                amount=next((n for n in range(20, 0, -1) if centre(img, str(n), 350, 230, WHITE)), None))


def intro(img, number):  # "Battle N" on yellow, wherever it has slid to
    edge, s = min((x for y in range(230, 238) for x in range(img.w) if img.px(x, y) == BLACK), default=-99), "Battle %d" % number
    return img.px(0, 0) == YELLOW and any(text(img, s, x, 230, BLACK, YELLOW) for x in range(max(edge - 7, 0), edge + 1))


def dialog(img):  # the quit dialog's question in black on light grey, centred on the screen
    q = "Are you sure that you want to return to the main menu?"
    return any(centre(img, q, x, y, BLACK, GREY) for y in range(img.h) if img.px(img.w // 2, y) == GREY for x in range(316, 325))


class Game:  # Xvfb and the game, each start on a new display, all killed however this script ends; steps kept as PPMs
    def __init__(self, exe, out):
        self.exe, self.shots, self.work, self.procs, self.figures, self.step = exe, out + "/e2e-shots/e2e", out + "/e2e-work", [], [], 0
        for d in (self.shots, self.work):
            shutil.rmtree(d, ignore_errors=True)
            os.makedirs(d + "/cwd" if d == self.work else d)
        self.cwd, self.log = self.work + "/cwd", open(self.work + "/game.log", "wb")

    def spawn(self, argv, stderr=None, **kw):
        self.procs.append(subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=self.log, stderr=stderr or self.log,
                                           preexec_fn=lambda: LIBC.prctl(1, signal.SIGKILL), **kw))  # dies with us
        return self.procs[-1]

    def start(self, screen, args, place, extraEnv={}):  # Xvfb with this screen, its number from -displayfd, then the game
        r, w = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(w), "-screen", "0", screen, "-nolisten", "tcp"], pass_fds=(w,))
        self.env = env = dict(os.environ, DISPLAY=":%d" % int(os.read(r, 16)), HOME=self.work, **extraEnv)
        self.dpy, self.size = C.c_void_p(X11.XOpenDisplay(env["DISPLAY"].encode())), [int(v) for v in screen.split("x")[:2]]
        self.place = place
        self.tag = "%dx-" % place.scale
        self.stderr = open("%s/game-%d.stderr" % (self.work, len(self.procs)), "wb")
        self.game = self.spawn([self.exe, *args], self.stderr, cwd=self.cwd, env=env)

    def press(self, key):  # down, held 100 ms so that a game polling its keys sees it, up: XTEST, as xdotool sends
        for down in (1, 0):
            XTST.XTestFakeKeyEvent(self.dpy, X11.XKeysymToKeycode(self.dpy, X11.XStringToKeysym(key.encode())), down, 0)
            X11.XFlush(self.dpy), time.sleep(0.1)

    def grab(self, area=None):  # a screenshot of the screen, or of the game's area (x1, y1, x2, y2) only: quicker
        s, left, top = self.place
        x1, y1, x2, y2 = area or (-left // s, -top // s, (self.size[0] - left) // s - 1, (self.size[1] - top) // s - 1)
        x, y, w, h = left + s * x1, top + s * y1, s * (x2 - x1 + 1), s * (y2 - y1 + 1)
        image = X11.XGetImage(self.dpy, X11.XDefaultRootWindow(self.dpy), x, y, w, h, 2 ** 64 - 1, 2)  # ZPixmap
        return Shot(image, Place(s, left - x, top - y))

    def wait(self, key, label, test, timeout=15):  # the key, if any, then screenshots until test(shot); keeps the last
        if key:
            self.press(key)
        end = time.monotonic() + timeout
        while self.game.poll() is None and not (ok := test(img := self.grab())) and time.monotonic() < end:
            time.sleep(0.02)
        assert self.game.poll() is None, "the game ended with status %s waiting for %s" % (self.game.returncode, label)
        self.step += 1
        img.ppm("%s/%03d-%s%s%s.ppm" % (self.shots, self.step, self.tag, label, "" if ok else "-timeout"))
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


def skipIntro(g, number):  # the battle that follows it, as it starts
    g.wait(None, "intro-%d" % number, lambda i: intro(i, number), 20)
    seen, b = time.monotonic(), fight(g, "space", "battle-%d" % number, lambda b: b["cursor"] == 0)
    assert time.monotonic() - seen < 6, "the intro ran on after the key"  # alone it lasts 8 s
    return b


def begin(g, steps, measure, screen="640x480x24", args=(), place=ONE_TO_ONE):  # a start up to its first battle, shown
    g.start(screen, args, place)  # with no window manager keys go to the window under the pointer: put it in the middle
    XTST.XTestFakeMotionEvent(g.dpy, -1, g.size[0] // 2, g.size[1] // 2, 0)
    g.wait(None, "menu", lambda i: framed(i, MENU) == 0)
    measure("main menu")
    menus(g, steps)
    g.press("Return")
    b = skipIntro(g, 1)
    measure("battle while choosing")
    return b


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
    assert os.path.getsize(g.stderr.name) == 0, "the game wrote to standard error: %s" % open(g.stderr.name).read()
    return wins


def windowed(g, geometry):  # whether a window of this geometry is on the display
    tree = subprocess.run(["xwininfo", "-root", "-tree", "-display", g.env["DISPLAY"]], capture_output=True, text=True)
    return geometry in tree.stdout


class ClientMessage(C.Structure):  # Xlib's XClientMessageEvent, with its data as five longs
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int), ("display", C.c_void_p),
                ("window", C.c_ulong), ("message_type", C.c_ulong), ("format", C.c_int), ("data", C.c_long * 5)]


class XEvent(C.Union):  # room for any event
    _fields_ = [("xclient", ClientMessage), ("pad", C.c_long * 24)]


def gameWindow(g):  # the top-level window the game titles "Mirvanes - Quillmark"
    root, parent, children, count = C.c_ulong(), C.c_ulong(), C.POINTER(C.c_ulong)(), C.c_uint()
    X11.XQueryTree(g.dpy, X11.XDefaultRootWindow(g.dpy), C.byref(root), C.byref(parent), C.byref(children), C.byref(count))
    for i in range(count.value):
        name = C.c_char_p()
        if X11.XFetchName(g.dpy, C.c_ulong(children[i]), C.byref(name)) and name.value == b"Mirvanes - Quillmark":
            return children[i]
    raise AssertionError("no window titled Mirvanes - Quillmark")


def closeButton(g):  # what a window manager sends when the window's close button is clicked
    window = gameWindow(g)
    event = XEvent()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window
    event.xclient.message_type = X11.XInternAtom(g.dpy, b"WM_PROTOCOLS", False)
    event.xclient.format = 32
    event.xclient.data[0] = X11.XInternAtom(g.dpy, b"WM_DELETE_WINDOW", False)
    X11.XSendEvent(g.dpy, C.c_ulong(window), False, 0, C.byref(event))
    X11.XFlush(g.dpy)


def altEnter(g):  # Alt held around Enter
    alt = X11.XKeysymToKeycode(g.dpy, X11.XStringToKeysym(b"Alt_L"))
    XTST.XTestFakeKeyEvent(g.dpy, alt, 1, 0)
    g.press("Return")
    XTST.XTestFakeKeyEvent(g.dpy, alt, 0, 0)
    X11.XFlush(g.dpy)


def blackAround(img, place):  # black just outside each edge of the picture and in the screen's far corner, where
    right, bottom = place.x + 640 * place.scale, place.y + 480 * place.scale  # these are on the screen
    outside = [(place.x - 1, place.y), (right, bottom - 1), (place.x, place.y - 1), (right - 1, bottom),
               (img.sw - 1, img.sh - 1)]
    return all(img.raw(x, y) in (BLACK, None) for x, y in outside)


def fullScreen(g, measure, wins):  # --fullscreen on a 1920x1080 desktop: the picture 2x at (320, 60) on black; the
    # display switches in a battle leave it as it was; the close button asks the quit question, and while the question
    # is open it answers "Yes" and the game ends with the run's result kept
    lean = lambda where: measure(where + " in full screen", 0.02 if where == "main menu" else 0.05)
    begin(g, [("Return", CHOOSER, 0)], lean, "1920x1080x24", ("--fullscreen",), FULL_SCREEN_1080)
    assert windowed(g, "1920x1080+0+0"), "no window over the whole screen"
    g.wait(None, "full-screen-border", lambda i: blackAround(i, FULL_SCREEN_1080))
    fight(g, "Down", "defence", lambda b: b["cursor"] == 1)
    fight(g, "Return", "amount", lambda b: b["amount"] == 1)
    before = fight(g, "Right", "amount-2", lambda b: b["amount"] == 2)
    switches = [(altEnter, WINDOW_2X, "1280x960+0+0"), (altEnter, FULL_SCREEN_1080, "1920x1080+0+0"),
                (lambda g: g.press("F11"), WINDOW_2X, "1280x960+0+0"),
                (lambda g: g.press("F11"), FULL_SCREEN_1080, "1920x1080+0+0")]
    for number, (switch, place, geometry) in enumerate(switches, 1):
        switch(g)
        g.place = place
        g.tag = "%dx-" % place.scale
        g.wait(None, "switch-%d" % number, lambda i: battle(i) == before and blackAround(i, place))
        assert windowed(g, geometry), "switch %d: no %s window" % (number, geometry)
    closeButton(g)
    g.wait(None, "close-question", dialog)
    g.press("Right")  # "Yes" has the focus; Right moves it to "No"
    g.wait("Return", "close-question-no", lambda i: battle(i) == before)
    g.wait("Escape", "esc-question", dialog)
    closeButton(g)  # while the question is open: as "Yes"
    assert g.game.wait(15) == 0, "the close button in the quit question: status %s" % g.game.returncode
    assert open(g.cwd + "/highscore.mhs", "rb").read() == struct.pack("<4i", 0, wins, 0, 0), "highscore.mhs"
    # On the main menu the close button ends the game at once.
    g.start("640x480x24", ("--window",), ONE_TO_ONE)
    g.wait(None, "menu-before-close", lambda i: framed(i, MENU) == 0)
    closeButton(g)
    assert g.game.wait(15) == 0, "the close button on the main menu: status %s" % g.game.returncode


LEFT_BUTTON, RIGHT_BUTTON, WHEEL_UP = 1, 3, 4  # X's mouse buttons
SPELL_BUTTONS = [(570, 200 + 60 * k, 619, 249 + 60 * k) for k in range(4)]  # attack, defence, heal, special
LESS, MORE, AMOUNT = (315, 233), (385, 233), (350, 233)  # the mana box's arrows and its amount
MENU_AREA, CURSORS_AREA = (100, 370, 540, 430), (612, 217, 628, 413)  # what the menu and the spell cursor change


def pointAt(g, x, y):  # the pointer onto the game's pixel (x, y)
    s, left, top = g.place
    XTST.XTestFakeMotionEvent(g.dpy, -1, left + s * x + s // 2, top + s * y + s // 2, 0)
    X11.XFlush(g.dpy)


def click(g, x, y, button=LEFT_BUTTON):  # the pointer there, then a mouse button down and up
    pointAt(g, x, y)
    for down in (1, 0):
        XTST.XTestFakeButtonEvent(g.dpy, button, down, 0)
        X11.XFlush(g.dpy)
        time.sleep(0.05)


def middle(area):
    x1, y1, x2, y2 = area
    return (x1 + x2) // 2, (y1 + y2) // 2


def tap(g, key, area, test, label):  # key down and up back to back; the seconds until test(shot of area) holds
    code = X11.XKeysymToKeycode(g.dpy, X11.XStringToKeysym(key.encode()))
    XTST.XTestFakeKeyEvent(g.dpy, code, 1, 0)
    XTST.XTestFakeKeyEvent(g.dpy, code, 0, 0)
    X11.XFlush(g.dpy)
    sent = time.monotonic()
    while not test(g.grab(area)):
        assert time.monotonic() - sent < 1, "a 0 ms tap of %s was lost: %s" % (key, label)
    return time.monotonic() - sent


def taps(g, where, steps, area, test):  # 0 ms taps, each awaited: none may be lost; their press-to-pixel times
    times = []
    for round in range(10):
        for key, want in steps:
            times.append(tap(g, key, area, lambda i: test(i) == want, "%s, round %d" % (where, round)))
            time.sleep(0.05)
    times.sort()
    g.figures.append("press to changed pixel on the %s, %d taps of 0 ms, none lost: median %.0f ms, 90th percentile "
                     "%.0f ms" % (where, len(times), 1000 * times[len(times) // 2], 1000 * times[len(times) * 9 // 10]))


def padPress(pad, move):  # move(True), held 100 ms as a thumb holds it, then move(False)
    move(True)
    time.sleep(0.1)
    move(False)


def devices(g, measure, shim):  # a 2x window on 1920x1080 with a game pad: quick taps, the mouse, the pad
    pad = fakepad.FakePad(g.work + "/pad", shim)
    g.start("1920x1080x24", ("--window", "--scale", "2"), WINDOW_2X, pad.env)
    pointAt(g, 320, 240)
    g.wait(None, "pad-menu", lambda i: framed(i, MENU) == 0)
    measure("main menu in a 2x window with a game pad", 0.02)
    taps(g, "main menu", [("Right", 1), ("Left", 0)], MENU_AREA, lambda i: framed(i, MENU))
    # The mouse: the pointer over an entry frames it, a click chooses it; on the chooser the right button goes back.
    pointAt(g, *middle(MENU[1]))
    g.wait(None, "pointer-on-end-game", lambda i: framed(i, MENU) == 1)
    click(g, *middle(MENU[0]))
    g.wait(None, "clicked-new-game", lambda i: framed(i, CHOOSER) == 0)
    pointAt(g, 400, 300)  # on Fall's card, below its name
    g.wait(None, "pointer-on-fall", lambda i: framed(i, CHOOSER) == 2)
    click(g, 400, 300, RIGHT_BUTTON)
    g.wait(None, "right-click-back", lambda i: framed(i, MENU) == 0)
    click(g, *middle(MENU[0]))
    g.wait(None, "chooser-again", lambda i: framed(i, CHOOSER) == 0)
    click(g, 90, 300)  # Spring's card
    g.wait(None, "clicked-spring", lambda i: intro(i, 1))
    click(g, 320, 100)
    fight(g, None, "clicked-intro", lambda b: b["cursor"] == 0)
    taps(g, "battle", [("Down", 1), ("Up", 0)], CURSORS_AREA, spellCursor)
    # In the battle: point at the defence, click it, turn the wheel, click the arrows, click the amount to queue it,
    # and the right button takes it back.
    pointAt(g, *middle(SPELL_BUTTONS[1]))
    fight(g, None, "pointer-on-defence", lambda b: b["cursor"] == 1)
    click(g, *middle(SPELL_BUTTONS[1]))
    fight(g, None, "clicked-defence", lambda b: b["amount"] == 1)
    for notch in range(3):
        XTST.XTestFakeButtonEvent(g.dpy, WHEEL_UP, 1, 0)
        XTST.XTestFakeButtonEvent(g.dpy, WHEEL_UP, 0, 0)
    X11.XFlush(g.dpy)
    fight(g, None, "wheel-up-3", lambda b: b["amount"] == 4)
    click(g, *MORE)
    fight(g, None, "more", lambda b: b["amount"] == 5)
    click(g, *LESS)
    fight(g, None, "less", lambda b: b["amount"] == 4)
    click(g, *AMOUNT)
    fight(g, None, "queued", lambda b: b["queue"] == [(1, 4), None, None] and b["mana"] == 16)
    click(g, 320, 100, RIGHT_BUTTON)
    fight(g, None, "taken-back", lambda b: b["queue"] == [None, None, None] and b["mana"] == 20)
    # The pad: the d-pad moves the cursor, A chooses, held up runs the amount, B goes back, Start asks to quit.
    padPress(pad, lambda down: pad.axis(DPAD_Y, 32767 if down else 0))
    fight(g, None, "pad-down", lambda b: b["cursor"] == 2)
    padPress(pad, lambda down: pad.button(PAD_A, down))
    fight(g, None, "pad-a", lambda b: b["amount"] == 1)
    pad.axis(LEFT_STICK_Y, -20000)
    fight(g, None, "pad-stick-up-held", lambda b: b["amount"] >= 6)
    pad.axis(LEFT_STICK_Y, 0)
    padPress(pad, lambda down: pad.button(PAD_B, down))
    fight(g, None, "pad-b", lambda b: b["amount"] is None and b["cursor"] == 2)
    padPress(pad, lambda down: pad.button(PAD_START, down))
    g.wait(None, "pad-start", dialog)
    g.wait("Return", "quit-yes", lambda i: centre(i, "-Press Enter to return to main menu-", 320, 380, BLACK, YELLOW))
    padPress(pad, lambda down: pad.button(PAD_Y, down))
    g.wait(None, "pad-any-button", lambda i: framed(i, MENU) == 0)
    measure("main menu in a 2x window with a game pad, after a run", 0.02)
    closeButton(g)
    assert g.game.wait(15) == 0, "the close button: status %s" % g.game.returncode
    pad.close()


def doubled(g, measure):  # --window --scale 2 on a 1920x1080 desktop: a 1280x960 window, every screen in whole pixels;
    # highscore.mhs turns into a directory once the start's check has passed, so "Yes" in the quit dialog ends the run
    # with the message box and a failure status
    os.remove(g.cwd + "/highscore.mhs")
    lean = lambda where: measure(where + " in a 2x window", 0.02 if where == "main menu" else 0.05)
    b = begin(g, [("Right", MENU, 1), ("Left", MENU, 0), ("Return", CHOOSER, 0)], lean, "1920x1080x24",
              ("--window", "--scale", "2"), WINDOW_2X)
    os.mkdir(g.cwd + "/highscore.mhs")
    assert windowed(g, "1280x960+0+0"), "no 1280x960 window"
    g.wait("Escape", "dialog", dialog)
    lean("quit dialog")
    g.press("Right")  # "Yes" has the focus; Right moves it to "No"
    g.wait("Return", "dialog-no", lambda i: battle(i) == b)
    g.wait("Escape", "dialog-again", dialog)
    # The library shows its message through xmessage, a child of the game, centred under the pointer, where the
    # game's window was.
    pgrep = lambda: subprocess.run(["pgrep", "-a", "-P", str(g.game.pid)], capture_output=True, text=True).stdout
    box = lambda i: "Unable to write to highscore file" in pgrep() and i.raw(g.size[0] // 2, g.size[1] // 2) != BLACK
    g.wait("Return", "message", box)
    # Leaving the graphics mode put the pointer in the window's middle; keys go to the window under it.
    XTST.XTestFakeMotionEvent(g.dpy, -1, g.size[0] // 2, g.size[1] // 2, 0)
    g.press("Return")
    assert g.game.wait(15) == 1, "a fatal error ends with status %s, not 1" % g.game.returncode
    assert os.listdir(g.cwd) == ["highscore.mhs"] and not os.listdir(g.cwd + "/highscore.mhs"), "the directory changed"
    # With no display: a start reports it and fails (a sanitizer report would too), the options answer without one.
    for args, status, says in (((), 1, "Error000: Allegro could not be initialised (no display?)\n"),
                               (("--help",), 0, "Usage: mirvanes [OPTION]..."), (("-V",), 0, "mirvanes "),
                               (("--scale", "9"), 2, "\nUsage: mirvanes [OPTION]...")):
        r = subprocess.run([g.exe, *args], capture_output=True, text=True, timeout=10, env={})
        out = {0: r.stdout, 1: "" if r.stdout else r.stderr, 2: "" if r.stdout else r.stderr}[status]
        assert r.returncode == status and says in out and "Sanitizer" not in out, (args, r)


if __name__ == "__main__":
    g, started = Game(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])), time.monotonic()
    shim = os.path.abspath(sys.argv[3])
    try:
        measure = g.cpu if "MIRVANES_E2E_CPU" in os.environ else lambda *_: None
        wins = play(g, measure)
        fullScreen(g, measure, wins)
        devices(g, measure, shim)
        doubled(g, measure)
    finally:
        for p in reversed(g.procs):
            p.kill(), p.wait()
        g.figures.append("the end-to-end run took %.1f s; screenshots in %s" % (time.monotonic() - started, g.shots))
        print("\n".join(g.figures))
        open(g.shots + "/figures.txt", "w").write("\n".join(g.figures) + "\n")
