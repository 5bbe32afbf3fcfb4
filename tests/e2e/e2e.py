#!/usr/bin/env python3
"""Plays the real game on its own Xvfb with XTEST key presses and checks its screens pixel by pixel, texts against
Allegro's own 8x8 font. Usage: e2e.py GAME OUT FAKEPAD (the built fakepad library); with MIRVANES_E2E_CPU set it also
takes processor figures. A PPM of each step and figures.txt go to OUT/e2e-shots/e2e/, the game's working directory and
output to OUT/e2e-work/."""
import collections, ctypes as C, fakepad, glob, os, re, shutil, signal, struct, subprocess, sys, time

X11, XTST, LIBC, AL = C.CDLL("libX11.so.6"), C.CDLL("libXtst.so.6"), C.CDLL(None), C.CDLL("liballeg.so.4.4")
X11.XOpenDisplay.restype = X11.XGetImage.restype = AL.create_bitmap_ex.restype = C.c_void_p
X11.XDefaultRootWindow.restype = X11.XStringToKeysym.restype = X11.XInternAtom.restype = C.c_ulong
X11.XGetImage.argtypes = [C.c_void_p, C.c_ulong, C.c_int, C.c_int, C.c_uint, C.c_uint, C.c_ulong, C.c_int]


def rgb565(r, g, b):  # a colour as a pixel of the game's 16-bit frame
    return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3


BLACK, WHITE, GREY = 0, rgb565(255, 255, 255), rgb565(221, 221, 221)  # grey: the quit question's box
RED, YELLOW = rgb565(255, 0, 0), rgb565(253, 250, 0)  # frames and the spell cursor; the intro's and highscore's ground
GREEN, MANA = rgb565(0, 255, 0), rgb565(0, 0, 204)  # the life bars, the mana bar
OWN, FOE = rgb565(204, 0, 0), rgb565(0, 0, 204)  # the player's and the opponent's texts

WIDTH, HEIGHT = 640, 480  # the game's picture
MENU = [(100, 370, 300, 430), (340, 370, 540, 430)]  # New game, End game
CHOOSER = [(20, 190, 155, 220), (165, 190, 310, 220), (330, 190, 465, 220), (475, 190, 620, 220)]  # Spring to Winter
NEW_GAME, END_GAME, DEFENCE = (200, 400), (440, 400), (594, 284)  # the middles of the menu's entries and of a spell
SPRING_CARD, FALL_CARD = (90, 300), (400, 300)  # on the chooser's cards, below the names
SPELL_BUTTONS = [(570, 200 + 60 * k, 619, 249 + 60 * k) for k in range(4)]  # attack, defence, heal, special
BARS_Y, LIFE_X, MANA_X, FOE_LIFE_X = 167, 20, 255, 620  # the bars' row and starts; the opponent's runs leftwards
LESS, MORE, AMOUNT = (315, 233), (385, 233), (350, 233)  # the mana box's arrows and its amount
ANYWHERE = (320, 100)  # off every button, in the intro and in the battle
MENU_AREA, CURSORS_AREA = (100, 370, 540, 430), (612, 217, 628, 413)  # what the menu and the spell cursor change
LEFT_BUTTON, RIGHT_BUTTON, WHEEL_UP = 1, 3, 4  # X's mouse buttons
PAD_A, PAD_B, PAD_Y, PAD_START = 0, 1, 3, 7  # the pad's buttons and axes, as the Linux driver numbers a common pad
LEFT_STICK_Y, DPAD_Y = 1, 7

Place = collections.namedtuple("Place", "screen scale x y window")  # the picture on a screen: scale, top-left, window
ONE_TO_ONE = Place(screen=(640, 480), scale=1, x=0, y=0, window="640x480+0+0")
WINDOW_2X = Place(screen=(1920, 1080), scale=2, x=0, y=0, window="1280x960+0+0")
FULL_SCREEN_1080 = Place(screen=(1920, 1080), scale=2, x=320, y=60, window="1920x1080+0+0")

# FONT[c]: (x, y, inked) for the 8x8 pixels of c, 32 to 126, drawn by the library itself on its driver for no display
assert AL.install_allegro(0x4E4F4E45, C.byref(C.c_int()), None) == 0  # SYSTEM_NONE
STRIP = C.c_void_p(AL.create_bitmap_ex(8, 8 * 95, 8))
AL.clear_bitmap(STRIP)
AL.textout_ex(STRIP, C.c_void_p.in_dll(AL, "font"), bytes(range(32, 127)), 0, 0, 1, 0)
FONT = {}
for k in range(95):
    FONT[chr(32 + k)] = [(x, y, AL.getpixel(STRIP, 8 * k + x, y) != 0) for y in range(8) for x in range(8)]


class Shot:  # a screenshot of a depth-24 display, read at the game's coordinates where the game's picture stands
    def __init__(self, image, place):  # an XImage: ints 0, 1, 11 and 12 are width, height, line and pixel sizes
        fields = C.cast(image, C.POINTER(C.c_int))
        self.sw, self.sh, line, bits = fields[0], fields[1], fields[11], fields[12]
        assert bits == 32, "screenshots need a display of depth 24, where the driver widens the game's 16-bit pixels"
        self.data = C.string_at(C.c_void_p.from_address(image + 16).value, line * self.sh)  # the pixels' address
        self.place = place
        X11.XDestroyImage(C.c_void_p(image))

    def raw(self, x, y):  # the 5-6-5 pixel at (x, y) on the screen, None off it
        i = 4 * (y * self.sw + x)
        onScreen = 0 <= x < self.sw and 0 <= y < self.sh
        return rgb565(self.data[i + 2], self.data[i + 1], self.data[i]) if onScreen else None

    def px(self, x, y):  # the game's pixel at (x, y): -1 where its s by s pixels on the screen are not all the same
        s = self.place.scale
        left, top = self.place.x + s * x, self.place.y + s * y
        if s == 1:
            return self.raw(left, top)
        seen = {self.raw(left + dx, top + dy) for dx in range(s) for dy in range(s)}
        return seen.pop() if len(seen) == 1 else -1

    def ppm(self, path):  # the screenshot as a binary PPM file
        rgb = bytearray(3 * self.sw * self.sh)
        rgb[0::3], rgb[1::3], rgb[2::3] = self.data[2::4], self.data[1::4], self.data[0::4]  # from BGRX
        open(path, "wb").write(b"P6 %d %d 255\n" % (self.sw, self.sh) + rgb)


def textAt(img, s, x, y, fg, bg=None):  # s at top-left (x, y): its font's pixels fg, others not (and bg if given)
    for k, ch in enumerate(s):
        for dx, dy, inked in FONT[ch]:
            p = img.px(x + 8 * k + dx, y + dy)
            paper = p != fg and (bg is None or p == bg)
            if p is not None and not (p == fg if inked else paper):
                return False
    return True


def textCentred(img, s, cx, y, fg, bg=None):  # s centred on x = cx
    return textAt(img, s, cx - 4 * len(s), y, fg, bg)


def largestShown(shows, largest, smallest):  # the largest number whose text passes shows(text) (a 1 also passes in 11)
    return next((n for n in range(largest, smallest - 1, -1) if shows(str(n))), None)


def onlyOne(found):  # the one item found, None for none or several
    return found[0] if len(found) == 1 else None


def outlinedInRed(img, x1, y1, x2, y2):  # all four edges red; nothing red just outside or inside the top and left ones
    topAndBottom = [(x, y) for y in (y1, y2) for x in range(x1, x2 + 1)]
    sides = [(x, y) for x in (x1, x2) for y in range(y1, y2 + 1)]
    mx, my = (x1 + x2) // 2, (y1 + y2) // 2
    beside = [(mx, y1 - 1), (mx, y1 + 1), (x1 - 1, my), (x1 + 1, my)]
    return all(img.px(x, y) == RED for x, y in topAndBottom + sides) and not any(img.px(x, y) == RED for x, y in beside)


def framed(img, rects):  # the one of the rectangles outlined in red, None for none or several
    return onlyOne([i for i, rect in enumerate(rects) if outlinedInRed(img, *rect)])


def frames(page, entry):  # a test of a shot: the page's entry framed, no other
    return lambda img: framed(img, page) == entry


def spellCursor(img):  # the spell whose button the red dot stands beside, None for none or more than one
    def dotBeside(k):  # its centre, at (620, 225) beside the attack, and three points 6 pixels away
        return all(img.px(620 + dx, 225 + 60 * k + dy) == RED for dx, dy in ((0, 0), (6, 0), (0, 6), (0, -6)))
    return onlyOne([k for k in range(4) if dotBeside(k)])


def barLength(img, x, step, colour):  # the pixels of colour on the bars' row past the first at x, going by step
    n = next((n for n in range(131) if img.px(x + step * (n + 1), BARS_Y) != colour), None)
    assert n is not None, "a bar longer than 131 pixels at x = %d" % x
    return n


def queued(img, k):  # slot k of the queue: (the spell whose button picture it shows, the mana in its corner), None
    left = 20 + 60 * k  # without a number; the picture's top-left at (left, 200), the number right-aligned below it
    mana = largestShown(lambda s: textAt(img, s, left + 50 - 8 * len(s), 242, WHITE, BLACK), 20, 0)
    if mana is None:
        return None
    grid = range(0, 40, 3)  # every third pixel of the pictures' top-left 40x40 the same as a button's
    for spell, (x, y, _, _) in enumerate(SPELL_BUTTONS):
        if all(img.px(left + dx, 200 + dy) == img.px(x + dx, y + dy) for dx in grid for dy in grid):
            return (spell, mana)
    return (None, mana)


Battle = collections.namedtuple("Battle", "life foe mana won lost queue cursor amount")


def battle(img):  # what the battle screen shows, or None when its three bars do not show at least their first columns
    if not (img.px(LIFE_X, BARS_Y) == img.px(FOE_LIFE_X, BARS_Y) == GREEN and img.px(MANA_X, BARS_Y) == MANA):
        return None
    return Battle(life=barLength(img, LIFE_X, 1, GREEN), foe=barLength(img, FOE_LIFE_X, -1, GREEN),
                  mana=(2 * barLength(img, MANA_X, 1, MANA) + 12) // 13,  # 6.5 pixels a point, rounded up
                  won=textAt(img, " You have won!", 20, 262, OWN), lost=textAt(img, " You have lost.", 20, 262, FOE),
                  queue=[queued(img, k) for k in range(3)], cursor=spellCursor(img),
                  amount=largestShown(lambda s: textCentred(img, s, 350, 230, WHITE), 20, 1))


def intro(img, number):  # "Battle N" on yellow at y = 230, wherever it has slid to
    inked = [x for x in range(WIDTH) if any(img.px(x, y) == BLACK for y in range(230, 238))]
    lefts = range(max(inked[0] - 7, 0), inked[0] + 1) if inked else []  # up to 7 pixels before its first black column
    return img.px(0, 0) == YELLOW and any(textAt(img, "Battle %d" % number, x, 230, BLACK, YELLOW) for x in lefts)


def quitQuestion(img):  # black on light grey, centred within 4 pixels of the middle, on a row grey in the middle
    question = "Are you sure that you want to return to the main menu?"
    rows = [y for y in range(HEIGHT) if img.px(WIDTH // 2, y) == GREY]
    return any(textCentred(img, question, x, y, BLACK, GREY) for y in rows for x in range(316, 325))


def highscoreScreen(img):  # its last line, black on yellow
    return textCentred(img, "-Press Enter to return to main menu-", 320, 380, BLACK, YELLOW)


class Game:  # Xvfb and the game, each start on a new display, all killed however this script ends; steps kept as PPMs
    def __init__(self, exe, out):
        self.exe, self.shots, self.work = exe, out + "/e2e-shots/e2e", out + "/e2e-work"
        self.cwd = self.work + "/cwd"  # the game's working directory; HOME is work
        self.procs, self.figures, self.step = [], [], 0
        for d in (self.shots, self.work):
            shutil.rmtree(d, ignore_errors=True)
        os.makedirs(self.shots)
        os.makedirs(self.cwd)
        self.log = open(self.work + "/game.log", "wb")

    def spawn(self, argv, stderr=None, **kw):  # a process of the run, its output in the log
        self.procs.append(subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=self.log, stderr=stderr or self.log,
                                           preexec_fn=lambda: LIBC.prctl(1, signal.SIGKILL), **kw))  # dies with us
        return self.procs[-1]

    def start(self, args, place, extraEnv={}):  # Xvfb with the place's screen, its number by -displayfd; the game
        r, w = os.pipe()
        screen = "%dx%dx24" % place.screen
        self.spawn(["Xvfb", "-displayfd", str(w), "-screen", "0", screen, "-nolisten", "tcp"], pass_fds=(w,))
        self.env = dict(os.environ, DISPLAY=":%d" % int(os.read(r, 16)), HOME=self.work, **extraEnv)
        self.dpy = C.c_void_p(X11.XOpenDisplay(self.env["DISPLAY"].encode()))
        self.middle = (place.screen[0] // 2, place.screen[1] // 2)
        self.place = place
        self.stderr = open("%s/game-%d.stderr" % (self.work, len(self.procs)), "wb")
        self.game = self.spawn([self.exe, *args], self.stderr, cwd=self.cwd, env=self.env)

    # The steps: each input returns the game, so that the screen it leads to is awaited on the same line.
    def key(self, name, down):  # one key event through XTEST, as xdotool sends it
        XTST.XTestFakeKeyEvent(self.dpy, X11.XKeysymToKeycode(self.dpy, X11.XStringToKeysym(name.encode())), down, 0)
        X11.XFlush(self.dpy)

    def press(self, *keys):  # down in order, held 100 ms so that a game polling its keys sees them, up in reverse
        for down in (1, 0):
            for name in keys if down else keys[::-1]:
                self.key(name, down)
            time.sleep(0.1)
        return self

    def pointAtScreen(self, x, y):  # with no window manager keys go to the window under the pointer
        XTST.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        X11.XFlush(self.dpy)
        return self

    def pointAt(self, x, y):  # the pointer onto the middle of the game's pixel (x, y)
        s = self.place.scale
        return self.pointAtScreen(self.place.x + s * x + s // 2, self.place.y + s * y + s // 2)

    def click(self, x, y, button=LEFT_BUTTON):  # the pointer there, then a mouse button down and up
        self.pointAt(x, y)
        for down in (1, 0):
            XTST.XTestFakeButtonEvent(self.dpy, button, down, 0)
            X11.XFlush(self.dpy)
            time.sleep(0.05)
        return self

    def wheelUp(self, notches):  # the wheel's notches back to back, where the pointer is
        for down in (1, 0) * notches:
            XTST.XTestFakeButtonEvent(self.dpy, WHEEL_UP, down, 0)
        X11.XFlush(self.dpy)
        return self

    def hold(self, move, number, value):  # a pad's button or axis at value for 100 ms, as a thumb holds it, then at 0
        move(number, value)
        time.sleep(0.1)
        move(number, 0)
        return self

    def closeButton(self):  # what a window manager sends when the game window's close button is clicked
        found = re.search(r'(0x[0-9a-f]+) "Mirvanes - Quillmark"', windowTree(self))
        assert found, "no window titled Mirvanes - Quillmark"
        window = int(found.group(1), 16)
        protocols = X11.XInternAtom(self.dpy, b"WM_PROTOCOLS", False)
        delete = X11.XInternAtom(self.dpy, b"WM_DELETE_WINDOW", False)
        # An XClientMessageEvent in longs: type ClientMessage, serial, send_event, display, window, message_type,
        event = (C.c_long * 24)(33, 0, 0, 0, window, protocols, 32, delete)  # format, data; the rest of the union zero
        X11.XSendEvent(self.dpy, C.c_ulong(window), False, 0, C.byref(event))
        X11.XFlush(self.dpy)
        return self

    def grab(self, area=None):  # a screenshot of the screen, or of the game's area (x1, y1, x2, y2) only: quicker
        (screenW, screenH), s, left, top, _ = self.place
        x1, y1, x2, y2 = area or (-left // s, -top // s, (screenW - left) // s - 1, (screenH - top) // s - 1)
        x, y, w, h = left + s * x1, top + s * y1, s * (x2 - x1 + 1), s * (y2 - y1 + 1)
        image = X11.XGetImage(self.dpy, X11.XDefaultRootWindow(self.dpy), x, y, w, h, 2 ** 64 - 1, 2)  # ZPixmap
        return Shot(image, self.place._replace(x=left - x, y=top - y))

    def wait(self, label, test, timeout=15):  # screenshots until test(shot); keeps the last as a PPM
        end = time.monotonic() + timeout
        img = self.grab()
        while not (ok := test(img)) and self.game.poll() is None and time.monotonic() < end:
            time.sleep(0.02)
            img = self.grab()
        assert self.game.poll() is None, "the game ended with status %s waiting for %s" % (self.game.returncode, label)
        self.step += 1
        img.ppm("%s/%03d-%dx-%s%s.ppm" % (self.shots, self.step, self.place.scale, label, "" if ok else "-timeout"))
        assert ok, "waited %d s for %s" % (timeout, label)
        return img

    def fight(self, label, test, timeout=10):  # the battle's state once test(state) holds
        def shows(img):
            state = battle(img)
            return state is not None and test(state)
        return battle(self.wait(label, shows, timeout))

    def expectStatus(self, status, what):  # the game ends within 15 s with exactly this status
        assert self.game.wait(15) == status, "%s: status %s, not %d" % (what, self.game.returncode, status)

    def cpuSeconds(self, thread="*"):  # the processor time so far of the game's threads, or of one; schedstat counts ns
        paths = glob.glob("/proc/%d/task/%s/schedstat" % (self.game.pid, thread))
        return sum(int(open(path).read().split()[0]) for path in paths) / 1e9

    def cpu(self, where):  # the processor use over 2 s as a share of one core: the whole game's, the figure, and its own
        # thread's, held to a limit. The library's threads vary with the machine; a frame drawn at every tick or a busy
        # loop shows in the game's own thread (a main menu redrawn at every tick: 1.8% in a 1x window, 11% in a 2x one).
        # A menu's thread takes about 0.1%, the quit dialog's 0.3%; the battle's, which draws at every tick, about 0.8%.
        limit = 0.02 if where.startswith("battle") else 0.01
        own = str(self.game.pid)  # the main thread's id is the process's
        allBefore = self.cpuSeconds()
        ownBefore = self.cpuSeconds(own)
        start = time.monotonic()
        time.sleep(2)
        elapsed = time.monotonic() - start
        allShare = (self.cpuSeconds() - allBefore) / elapsed
        ownShare = (self.cpuSeconds(own) - ownBefore) / elapsed
        self.figures.append("processor use on the %s: %.1f%% of one core, %.2f%% in the game's own thread"
                            % (where, 100 * allShare, 100 * ownShare))
        assert ownShare <= limit, "the game's own thread took more than %g%% of one core on the %s" % (100 * limit, where)


def windowTree(g):  # the windows on the display with their titles and geometries, as xwininfo lists them
    xwininfo = ["xwininfo", "-root", "-tree", "-display", g.env["DISPLAY"]]
    return subprocess.run(xwininfo, capture_output=True, text=True).stdout


def expectWindow(g, what):  # a window where the game's picture now stands
    assert g.place.window in windowTree(g), "%s: no %s window" % (what, g.place.window)


def measureIn(measure, mode):  # measure, naming the display mode
    return lambda where: measure("%s in %s" % (where, mode))


def menus(g, steps):  # keys, each with the page of entries and the one framed after it
    for key, page, entry in steps:
        g.press(key).wait("%s-%d" % (key, entry), frames(page, entry))


def skipIntro(g, number):  # the battle that follows it, as it starts
    g.wait("intro-%d" % number, lambda i: intro(i, number), 20)
    seen = time.monotonic()
    b = g.press("space").fight("battle-%d" % number, lambda b: b.cursor == 0)
    assert time.monotonic() - seen < 6, "the intro ran on after the key"  # alone it lasts 8 s
    return b


def begin(g, steps, measure, args=(), place=ONE_TO_ONE):  # a start up to its first battle, shown
    g.start(args, place)
    g.pointAtScreen(*g.middle).wait("menu", frames(MENU, 0))
    measure("main menu")
    menus(g, steps)
    g.press("Return")
    b = skipIntro(g, 1)
    measure("battle while choosing")
    return b


def play(g, measure):  # menus, a Summer run to its first lost match, highscore, End game
    begin(g, [("Right", MENU, 1), ("Left", MENU, 0), ("Return", CHOOSER, 0),  # the menu both ways, New game,
              ("Left", CHOOSER, 3), ("Right", CHOOSER, 0), ("Right", CHOOSER, 1)], measure)  # the chooser, Summer

    wins, turn, b = 0, 0, None
    while not b or not b.lost:  # the special every turn costs Summer 20 of its own life
        turn += 1
        g.press("Up").fight("turn-%d-special" % turn, lambda b: b.cursor == 3)
        g.press("Return").fight("turn-%d-amount" % turn, lambda b: b.amount == 20 and b.cursor == 3)
        b = g.press("Return").fight("turn-%d-queued" % turn, lambda b: b.cursor is None)
        assert b.queue == [(3, 20), None, None] and b.mana == 0, "the special queued: %s" % (b,)
        b = g.fight("turn-%d-over" % turn, lambda b: b.cursor is not None or b.won or b.lost, 30)
        if b.won:
            wins += 1
            skipIntro(g, wins + 1)
    g.figures.append("the run won %d matches in %d turns" % (wins, turn))
    img = g.wait("highscore", lambda i: textCentred(i, "Highscore for Mirvane of Summer:", 320, 100, BLACK, YELLOW))
    for line, y in ("Your score: %d wins" % wins, 200), ("Old highscore: 0 wins", 300):
        assert textAt(img, line, 100, y, BLACK, YELLOW), line
    assert highscoreScreen(img)
    assert open(g.cwd + "/highscore.mhs", "rb").read() == struct.pack("<4i", 0, wins, 0, 0), "highscore.mhs"
    measure("highscore screen")
    menus(g, [("Return", MENU, 0), ("Right", MENU, 1)])
    g.press("Return").expectStatus(0, "End game")
    assert os.listdir(g.cwd) == ["highscore.mhs"], "End game left %s" % os.listdir(g.cwd)
    assert os.path.getsize(g.stderr.name) == 0, "the game wrote to standard error: %s" % open(g.stderr.name).read()
    return wins


def blackAround(img, place):  # black just outside each edge of the picture and in the screen's far corner, where
    right, bottom = place.x + WIDTH * place.scale, place.y + HEIGHT * place.scale  # these are on the screen
    outside = [(place.x - 1, place.y), (right, bottom - 1), (place.x, place.y - 1), (right - 1, bottom),
               (img.sw - 1, img.sh - 1)]
    return all(img.raw(x, y) in (BLACK, None) for x, y in outside)


DISPLAY_SWITCHES = [(("Alt_L", "Return"), WINDOW_2X), (("Alt_L", "Return"), FULL_SCREEN_1080),  # the keys, where the
                    (("F11",), WINDOW_2X), (("F11",), FULL_SCREEN_1080)]  # picture stands after them


def fullScreen(g, measure, wins):  # --fullscreen on 1920x1080: the picture 2x at (320, 60) on black; the display
    # switches in a battle keep it; the close button asks the quit question, and answers "Yes" to it, the result kept
    begin(g, [("Return", CHOOSER, 0)], measureIn(measure, "full screen"), ("--fullscreen",), FULL_SCREEN_1080)
    expectWindow(g, "full screen")
    g.wait("full-screen-border", lambda i: blackAround(i, FULL_SCREEN_1080))
    g.press("Down").fight("defence", lambda b: b.cursor == 1)
    g.press("Return").fight("amount", lambda b: b.amount == 1)
    before = g.press("Right").fight("amount-2", lambda b: b.amount == 2)
    for number, (keys, place) in enumerate(DISPLAY_SWITCHES, 1):
        g.place = place
        g.press(*keys).wait("switch-%d" % number, lambda i: battle(i) == before and blackAround(i, place))
        expectWindow(g, "switch %d" % number)
    g.closeButton().wait("close-question", quitQuestion)
    g.press("Right").press("Return").wait("close-question-no", lambda i: battle(i) == before)  # Right: "Yes" to "No"
    g.press("Escape").wait("esc-question", quitQuestion)
    g.closeButton().expectStatus(0, "the close button in the quit question")  # there: as "Yes"
    assert open(g.cwd + "/highscore.mhs", "rb").read() == struct.pack("<4i", 0, wins, 0, 0), "highscore.mhs"
    # On the main menu the close button ends the game at once.
    g.start(("--window",), ONE_TO_ONE)
    g.wait("menu-before-close", frames(MENU, 0))
    g.closeButton().expectStatus(0, "the close button on the main menu")


def taps(g, where, steps, area, test):  # keys down and up back to back, each awaited until test(shot of area) is as
    times = []  # wanted: none may be lost; the seconds from the tap to the changed pixels
    for round in range(10):
        for key, want in steps:
            g.key(key, 1)
            g.key(key, 0)
            sent = time.monotonic()
            while test(g.grab(area)) != want:
                assert time.monotonic() - sent < 1, "a 0 ms tap of %s was lost: %s, round %d" % (key, where, round)
            times.append(time.monotonic() - sent)
            time.sleep(0.05)
    times.sort()
    g.figures.append("press to changed pixel on the %s, %d taps of 0 ms, none lost: median %.0f ms, 90th percentile "
                     "%.0f ms" % (where, len(times), 1000 * times[len(times) // 2], 1000 * times[len(times) * 9 // 10]))


def devices(g, measure, shim):  # a 2x window on 1920x1080 with a game pad: quick taps, the mouse, the pad
    pad = fakepad.FakePad(g.work + "/pad", shim)
    g.start(("--window", "--scale", "2"), WINDOW_2X, pad.env)
    g.pointAt(320, 240).wait("pad-menu", frames(MENU, 0))
    measure("main menu in a 2x window with a game pad")
    taps(g, "main menu", [("Right", 1), ("Left", 0)], MENU_AREA, lambda i: framed(i, MENU))
    # The mouse: the pointer over an entry frames it, a click chooses it; on the chooser the right button goes back.
    g.pointAt(*END_GAME).wait("pointer-on-end-game", frames(MENU, 1))
    g.click(*NEW_GAME).wait("clicked-new-game", frames(CHOOSER, 0))
    g.pointAt(*FALL_CARD).wait("pointer-on-fall", frames(CHOOSER, 2))
    g.click(*FALL_CARD, RIGHT_BUTTON).wait("right-click-back", frames(MENU, 0))
    g.click(*NEW_GAME).wait("chooser-again", frames(CHOOSER, 0))
    g.click(*SPRING_CARD).wait("clicked-spring", lambda i: intro(i, 1))
    g.click(*ANYWHERE).fight("clicked-intro", lambda b: b.cursor == 0)
    taps(g, "battle", [("Down", 1), ("Up", 0)], CURSORS_AREA, spellCursor)
    # In the battle: point at the defence, click it, turn the wheel, click the arrows, click the amount to queue it,
    # and the right button takes it back.
    g.pointAt(*DEFENCE).fight("pointer-on-defence", lambda b: b.cursor == 1)
    g.click(*DEFENCE).fight("clicked-defence", lambda b: b.amount == 1)
    g.wheelUp(3).fight("wheel-up-3", lambda b: b.amount == 4)
    g.click(*MORE).fight("more", lambda b: b.amount == 5)
    g.click(*LESS).fight("less", lambda b: b.amount == 4)
    g.click(*AMOUNT).fight("queued", lambda b: b.queue == [(1, 4), None, None] and b.mana == 16)
    g.click(*ANYWHERE, RIGHT_BUTTON).fight("taken-back", lambda b: b.queue == [None, None, None] and b.mana == 20)
    # The pad: the d-pad moves the cursor, A chooses, held up runs the amount, B goes back, Start asks to quit.
    g.hold(pad.axis, DPAD_Y, 32767).fight("pad-down", lambda b: b.cursor == 2)
    g.hold(pad.button, PAD_A, 1).fight("pad-a", lambda b: b.amount == 1)
    pad.axis(LEFT_STICK_Y, -20000)
    g.fight("pad-stick-up-held", lambda b: b.amount >= 6)
    pad.axis(LEFT_STICK_Y, 0)
    g.hold(pad.button, PAD_B, 1).fight("pad-b", lambda b: b.amount is None and b.cursor == 2)
    g.hold(pad.button, PAD_START, 1).wait("pad-start", quitQuestion)
    g.press("Return").wait("quit-yes", highscoreScreen)
    g.hold(pad.button, PAD_Y, 1).wait("pad-any-button", frames(MENU, 0))
    measure("main menu in a 2x window with a game pad, after a run")
    g.closeButton().expectStatus(0, "the close button")
    pad.close()


def doubled(g, measure):  # --window --scale 2 on 1920x1080: a 1280x960 window, every screen in whole pixels; with
    # highscore.mhs made a directory after the start's check, "Yes" to the quit dialog: the message box, fatal status 1

    os.remove(g.cwd + "/highscore.mhs")
    noFigures = lambda where: None  # the 2x window's main menu is measured with the pad, its battle in full screen
    b = begin(g, [("Right", MENU, 1), ("Left", MENU, 0), ("Return", CHOOSER, 0)], noFigures,
              ("--window", "--scale", "2"), WINDOW_2X)
    os.mkdir(g.cwd + "/highscore.mhs")
    expectWindow(g, "2x window")
    g.press("Escape").wait("dialog", quitQuestion)
    measure("quit dialog in a 2x window")
    g.press("Right").press("Return").wait("dialog-no", lambda i: battle(i) == b)  # "Yes" has the focus; Right: to "No"
    g.press("Escape").wait("dialog-again", quitQuestion)

    def messageBox(img):  # the library's message runs as xmessage, a child of the game, centred under the pointer
        children = subprocess.run(["pgrep", "-a", "-P", str(g.game.pid)], capture_output=True, text=True).stdout
        return "Unable to write to highscore file" in children and img.raw(*g.middle) != BLACK
    g.press("Return").wait("message", messageBox)
    # Leaving the graphics mode put the pointer in the window's middle; keys go to the window under it.
    g.pointAtScreen(*g.middle).press("Return").expectStatus(1, "the fatal error")

    assert os.listdir(g.cwd) == ["highscore.mhs"] and not os.listdir(g.cwd + "/highscore.mhs"), "the directory changed"


NO_DISPLAY_RUNS = [((), 1, "Error000: Allegro could not be initialised (no display?)\n"),  # arguments, status, output
                   (("--help",), 0, "Usage: mirvanes [OPTION]..."),
                   (("-V",), 0, "mirvanes "),
                   (("--scale", "9"), 2, "\nUsage: mirvanes [OPTION]...")]


def noDisplay(g):  # a start reports it and fails (a sanitizer report would too), the options answer without one

    for args, status, says in NO_DISPLAY_RUNS:
        r = subprocess.run([g.exe, *args], capture_output=True, text=True, timeout=10, env={})
        out = r.stdout if status == 0 else r.stderr
        assert r.returncode == status and says in out and "Sanitizer" not in r.stdout + r.stderr, (args, r)
        assert status == 0 or r.stdout == "", (args, r)


if __name__ == "__main__":
    g = Game(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
    started = time.monotonic()
    try:
        measure = g.cpu if "MIRVANES_E2E_CPU" in os.environ else lambda *_: None
        wins = play(g, measure)
        fullScreen(g, measure, wins)
        devices(g, measure, os.path.abspath(sys.argv[3]))
        doubled(g, measure)
        noDisplay(g)
    finally:
        for p in reversed(g.procs):
            p.kill()
            p.wait()
        g.figures.append("the end-to-end run took %.1f s; screenshots in %s" % (time.monotonic() - started, g.shots))
        print("\n".join(g.figures))
        open(g.shots + "/figures.txt", "w").write("\n".join(g.figures) + "\n")
