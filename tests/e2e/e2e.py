#!/usr/bin/env python3
"""End-to-end scenarios: the real game on its own Xvfb display, played by XTEST key events.

Each scenario starts `mirvanes` in an empty working directory on a fresh 640x480x16 Xvfb, presses keys
the way a player does (xdotool keydown/keyup with a short hold), reads pixels from screenshots at the
places the game's screens fix, and checks what stays on disk. Screenshots of every step are kept under
<out>/e2e-shots/<scenario>/, the figures it measures in <out>/e2e-shots/<scenario>/figures.txt, the
game's working directory and its output under <out>/e2e-work/<scenario>/.

    e2e.py --game build/mirvanes --glyphs build/tests/e2e/mirvanes_e2e_glyphs --out build menu
"""

import argparse
import ctypes
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import time
import zlib

# ---------------------------------------------------------------------------------------------- colours

YELLOW = (253, 250, 0)
RED = (255, 0, 0)
GREEN = (0, 255, 0)
MANA_BLUE = (0, 0, 204)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
DIALOG_GREY = (221, 221, 221)
PLAYER_COLOUR = (204, 0, 0)
OPPONENT_COLOUR = (0, 0, 204)


def packed(rgb):
    """A colour as the 5-6-5 pixel the game's 16-bit frame holds.

    The game makes colours with makecol16, which drops the low bits; a 16-bit Xvfb hands them back
    scaled to 8 bits per channel (v * 255 / 31 or / 63), and dropping the same bits of that gives the
    same 5-6-5 value again, so comparisons in this form are exact."""
    r, g, b = rgb
    return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)


# ------------------------------------------------------------------------------------------ screenshots


class Image:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    @staticmethod
    def fromPpm(data):
        fields, pos = [], 0
        while len(fields) < 4:  # magic, width, height, maxval, separated by whitespace
            while data[pos:pos + 1].isspace():
                pos += 1
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise Failure("unexpected screenshot format %r" % fields)
        width, height = int(fields[1]), int(fields[2])
        return Image(width, height, data[pos + 1:pos + 1 + width * height * 3])

    def key(self, x, y):
        i = (y * self.width + x) * 3
        d = self.rgb
        return ((d[i] >> 3) << 11) | ((d[i + 1] >> 2) << 5) | (d[i + 2] >> 3)

    def isColour(self, x, y, rgb):
        return 0 <= x < self.width and 0 <= y < self.height and self.key(x, y) == packed(rgb)

    def savePng(self, path):
        stride = self.width * 3
        raw = b"".join(b"\0" + self.rgb[y * stride:(y + 1) * stride] for y in range(self.height))

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 6))
                    + chunk(b"IEND", b""))


class Failure(Exception):
    pass


def check(condition, text):
    if not condition:
        raise Failure(text)


# ------------------------------------------------------------------------------------------------ texts


class Glyphs:
    """Pixel masks of texts in the game's 8x8 font, drawn by a helper linked against the same library."""

    def __init__(self, helper):
        self.helper, self.masks = helper, {}

    def mask(self, text):
        if text not in self.masks:
            out = subprocess.run([self.helper, text], capture_output=True, text=True, timeout=30, check=True)
            lines = out.stdout.split("\n")
            width, height = map(int, lines[0].split())
            rows = lines[1:1 + height]
            self.masks[text] = (width, [(x, y, rows[y][x] == "#") for y in range(height) for x in range(width)])
        return self.masks[text]


GLYPHS = None


def textAt(img, text, left, top, fg, bg=None):
    """Whether `text` stands at (left, top): every set pixel of the glyphs in `fg`, and with `bg` every
    unset one in `bg` (text over an unknown picture gives no `bg`). Pixels off the screen are skipped."""
    want, other = packed(fg), None if bg is None else packed(bg)
    _, cells = GLYPHS.mask(text)
    seen = 0
    for dx, dy, on in cells:
        x, y = left + dx, top + dy
        if not (0 <= x < img.width and 0 <= y < img.height):
            continue
        k = img.key(x, y)
        if on:
            if k != want:
                return False
            seen += 1
        elif other is not None and k != other:
            return False
    return seen > 0


def centredAt(img, text, centre, top, fg, bg=None):
    width, _ = GLYPHS.mask(text)
    return textAt(img, text, centre - width // 2, top, fg, bg)


def textAtLeft(left):
    return lambda img, text, top, fg, bg: textAt(img, text, left, top, fg, bg)


def textAtRight(right):
    return lambda img, text, top, fg, bg: textAt(img, text, right - GLYPHS.mask(text)[0], top, fg, bg)


def findText(img, text, top, fg, bg):
    """The left edge at which `text` stands whole on the row `top`, or None."""
    width, _ = GLYPHS.mask(text)
    for left in range(0, img.width - width + 1):
        if textAt(img, text, left, top, fg, bg):
            return left
    return None


def readNumber(img, pattern, place, top, fg, bg=None, most=40):
    """The number n for which pattern % n stands at the place (longest candidates first, so that "1"
    never passes for "11"), or None."""
    for n in sorted(range(most + 1), key=lambda v: -len(str(v))):
        if place(img, pattern % n, top, fg, bg):
            return n
    return None


# ---------------------------------------------------------------------------------------------- screens

MENU_FRAMES = [(100, 370, 300, 430), (340, 370, 540, 430)]
CHOOSER_FRAMES = [(20, 190, 155, 220), (165, 190, 310, 220), (330, 190, 465, 220), (475, 190, 620, 220)]
TYPE_NAMES = ["Spring", "Summer", "Fall", "Winter"]
LOADING_TEXT = "Loading engine, please wait..."
DIALOG_TEXT = "Are you sure that you want to return to the main menu?"
HINT_TEXT = "-Press Enter to return to main menu-"


def framed(img, rect):
    x1, y1, x2, y2 = rect
    red = packed(RED)
    return (all(img.key(x, y1) == red and img.key(x, y2) == red for x in range(x1, x2 + 1))
            and all(img.key(x1, y) == red and img.key(x2, y) == red for y in range(y1, y2 + 1)))


def frameCursor(img, own, others):
    """Which of `own` frames is drawn, when exactly one is and none of `others`."""
    hits = [i for i, rect in enumerate(own) if framed(img, rect)]
    if len(hits) != 1 or any(framed(img, rect) for rect in others):
        return None
    return hits[0]


def menuCursor(img):
    return frameCursor(img, MENU_FRAMES, CHOOSER_FRAMES)


def chooserCursor(img):
    return frameCursor(img, CHOOSER_FRAMES, MENU_FRAMES)


def isLoading(img):
    return (centredAt(img, LOADING_TEXT, 320, 240, WHITE, BLACK)
            and all(img.isColour(x, y, BLACK) for x, y in ((0, 0), (639, 0), (320, 100), (0, 479), (639, 479))))


def isYellow(img):
    return all(img.isColour(x, y, YELLOW) for x, y in ((0, 0), (639, 0), (320, 20), (5, 300), (0, 479), (639, 479)))


def barLength(img, x, step, colour):
    n = 0
    while img.isColour(x + step * (n + 1), 167, colour):
        n += 1
    return n


def barValue(length, perUnitTimesDen, den, most):
    """The value whose bar, perUnitTimesDen * value / den pixels long (truncated), has this length."""
    for v in range(most + 1):
        if perUnitTimesDen * v // den == length:
            return v
    raise Failure("no value gives a bar of %d pixels" % length)


class Battle:
    """What the battle screen shows: the three bars, the cursor and the player's queue."""

    def __init__(self, img):
        self.playerLife = barValue(barLength(img, 20, 1, GREEN), 13, 10, 100)
        self.mana = barValue(barLength(img, 255, 1, MANA_BLUE), 13, 2, 20)
        self.opponentLife = barValue(barLength(img, 620, -1, GREEN), 13, 10, 100)
        marks = [k for k in range(4) if all(img.isColour(620 + dx, 225 + 60 * k + dy, RED)
                                            for dx, dy in ((0, 0), (7, 0), (0, -7), (0, 7)))]
        self.cursor = marks[0] if len(marks) == 1 else None
        self.queue = [readNumber(img, "%d", textAtRight(70 + 60 * k), 242, WHITE, BLACK, most=20) for k in range(3)]
        self.kinds = [queuedKind(img, k) if self.queue[k] is not None else None for k in range(3)]
        self.amount = None
        if self.cursor is not None:
            self.amount = chosenAmount(img)

    def __repr__(self):
        return ("battle(life %d/%d, mana %d, cursor %s, queue %s of kinds %s, amount %s)"
                % (self.playerLife, self.opponentLife, self.mana, self.cursor, self.queue, self.kinds, self.amount))


def queuedKind(img, slot):
    """The spell kind whose button picture a queue slot shows: the same picture stands in the button
    column at (570, 200 + 60 * kind). Compared away from the amount's box and the cursor."""
    for kind in range(4):
        if all(img.key(20 + 60 * slot + dx, 200 + dy) == img.key(570 + dx, 200 + 60 * kind + dy)
               for dx in range(0, 40, 3) for dy in range(0, 40, 3)):
            return kind
    return None


def battleOf(img):
    """The battle screen's content, or None when the picture is no battle: the three bars always show
    at least their first column."""
    if not (img.isColour(20, 167, GREEN) and img.isColour(620, 167, GREEN) and img.isColour(255, 167, MANA_BLUE)):
        return None
    return Battle(img)


def chosenAmount(img):
    """The amount shown while setting a spell's mana: white digits over the caption box, centred at
    x = 350. The glyphs' unset pixels must not be white, so that an "8" does not pass for a "3"."""
    for n in sorted(range(21), key=lambda v: -len(str(v))):
        text = "%d" % n
        width, cells = GLYPHS.mask(text)
        left = 350 - width // 2
        if all(img.isColour(left + dx, 230 + dy, WHITE) == on for dx, dy, on in cells):
            return n
    return None


def closingMessage(img):
    if textAt(img, " You have won!", 20, 262, PLAYER_COLOUR):
        return "won"
    if textAt(img, " You have lost.", 20, 262, OPPONENT_COLOUR):
        return "lost"
    return None


def introOf(img):
    """(match number, left edge of its line, the human's type) of a match intro screen, or None. The
    second line may still be partly off the screen; while the visible part fits more than one human's
    type, the type is None."""
    if not isYellow(img):
        return None
    left = findText(img, "Battle ", 230, BLACK, YELLOW)
    if left is None:
        return None
    number = readNumber(img, "Battle %d", textAtLeft(left), 230, BLACK, YELLOW)
    if number is None:
        return None
    centre = left + GLYPHS.mask("Battle %d" % number)[0] // 2
    players = {player for player in TYPE_NAMES for opponent in TYPE_NAMES
               if centredAt(img, "%s (human) vs %s (AI)" % (player, opponent), centre, 240, BLACK, YELLOW)}
    if not players:
        return None
    return number, left, players.pop() if len(players) == 1 else None


def highscoreOf(img, typeName):
    """(score, old highscore) that the highscore screen shows for the type, or None."""
    if not (isYellow(img) and centredAt(img, "Highscore for Mirvane of %s:" % typeName, 320, 100, BLACK, YELLOW)
            and centredAt(img, HINT_TEXT, 320, 380, BLACK, YELLOW)):
        return None
    score = readNumber(img, "Your score: %d wins", textAtLeft(100), 200, BLACK, YELLOW)
    old = readNumber(img, "Old highscore: %d wins", textAtLeft(100), 300, BLACK, YELLOW)
    return None if score is None or old is None else (score, old)


def dialogShown(img):
    """The quit dialog: a light grey box holding the question, somewhere around the middle."""
    if not img.isColour(320, 240, DIALOG_GREY):
        return False
    width, _ = GLYPHS.mask(DIALOG_TEXT)
    for top in range(180, 260):
        for left in range(0, 640 - width + 1):
            if textAt(img, DIALOG_TEXT, left, top, BLACK, DIALOG_GREY):
                return True
    return False


# ---------------------------------------------------------------------------------------------- session


LIBC = ctypes.CDLL(None, use_errno=True)


def dieWithUs():
    """Children get SIGKILL when this script dies, however it dies (a CTest timeout included)."""
    LIBC.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


class Session:
    """One scenario: its own Xvfb display, its own empty working directory, its screenshots and figures."""

    def __init__(self, args, name):
        self.args, self.name = args, name
        self.shots = os.path.join(args.out, "e2e-shots", name)
        self.work = os.path.join(args.out, "e2e-work", name)
        for d in (self.shots, self.work):
            shutil.rmtree(d, ignore_errors=True)
        self.cwd = os.path.join(self.work, "cwd")
        self.home = os.path.join(self.work, "home")
        for d in (self.shots, self.cwd, self.home):
            os.makedirs(d)
        self.step = 0
        self.figures = []
        self.game = None
        self.xvfb = None
        self.display = self.startXvfb()

    def startXvfb(self):
        readEnd, writeEnd = os.pipe()
        log = open(os.path.join(self.work, "xvfb.log"), "wb")
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(writeEnd), "-screen", "0", "640x480x16",
                                      "-nolisten", "tcp", "-noreset"],
                                     pass_fds=(writeEnd,), stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                     preexec_fn=dieWithUs)
        os.close(writeEnd)
        number = b""
        deadline = time.monotonic() + 30
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([readEnd], [], [], max(0.0, deadline - time.monotonic()))
            chunk = os.read(readEnd, 16) if ready else b""
            if not chunk:
                raise Failure("Xvfb did not report a display (see %s)" % log.name)
            number += chunk
        os.close(readEnd)
        return ":" + number.decode().strip()

    def env(self):
        env = dict(os.environ, DISPLAY=self.display, HOME=self.home)
        env.pop("XAUTHORITY", None)
        return env

    def startGame(self):
        self.out = open(os.path.join(self.work, "game.stdout"), "wb")
        self.err = open(os.path.join(self.work, "game.stderr"), "wb")
        self.started = time.monotonic()
        self.game = subprocess.Popen([self.args.game], cwd=self.cwd, env=self.env(), stdin=subprocess.DEVNULL,
                                     stdout=self.out, stderr=self.err, preexec_fn=dieWithUs)

    def close(self):
        for proc in (self.game, self.xvfb):
            if proc is not None and proc.poll() is None:
                proc.kill()
                proc.wait()

    # screenshots

    def grab(self):
        out = subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8", "ppm:-"],
                             capture_output=True, timeout=30, env=self.env())
        if out.returncode != 0:
            raise Failure("screenshot failed: %s" % out.stderr.decode(errors="replace").strip())
        return Image.fromPpm(out.stdout)

    def keep(self, img, label):
        self.step += 1
        img.savePng(os.path.join(self.shots, "%03d-%s.png" % (self.step, label)))
        return img

    def shot(self, label):
        return self.keep(self.grab(), label)

    def waitFor(self, label, test, timeout=15.0):
        """Polls screenshots until test(img) gives a value other than None/False; keeps that picture
        as step `label` and returns (value, img). On time-out the last picture is kept and it fails."""
        deadline = time.monotonic() + timeout
        while True:
            self.gameAlive(label)
            img = self.grab()
            value = test(img)
            if value is not None and value is not False:
                self.keep(img, label)
                return value, img
            if time.monotonic() > deadline:
                self.keep(img, label + "-timeout")
                raise Failure("waited %.0f s for: %s" % (timeout, label))
            time.sleep(0.05)

    def stays(self, label, test, seconds=0.4):
        """After a key that must change nothing: the picture still passes the test a moment later."""
        time.sleep(seconds)
        img = self.shot(label)
        check(test(img), "changed after a key that must do nothing: %s" % label)

    def gameAlive(self, label):
        if self.game is not None and self.game.poll() is not None:
            raise Failure("the game ended (status %d) while waiting for: %s%s"
                          % (self.game.returncode, label, self.stderrTail()))

    def stderrTail(self):
        self.err.flush()
        with open(self.err.name, "rb") as f:
            text = f.read().decode(errors="replace")
        return "\n--- game stderr ---\n" + text[-4000:] if text.strip() else ""

    # keys

    def xdotool(self, *words):
        subprocess.run(["xdotool", *words], env=self.env(), check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def press(self, key, hold=0.1, pause=0.1):
        """A key press as a player makes it: down, held ~100 ms so that a polling loop sees it, up."""
        self.xdotool("keydown", key)
        time.sleep(hold)
        self.xdotool("keyup", key)
        time.sleep(pause)

    # process figures

    def cpuTimes(self):
        """Processor seconds used so far by each of the game's threads, by thread id: the scheduler's
        nanosecond count (schedstat) where the kernel keeps one, else the clock ticks of stat."""
        times = {}
        for tid in os.listdir("/proc/%d/task" % self.game.pid):
            path = "/proc/%d/task/%s/" % (self.game.pid, tid)
            try:
                with open(path + "schedstat") as f:
                    times[int(tid)] = int(f.read().split()[0]) / 1e9
            except FileNotFoundError:
                with open(path + "stat") as f:
                    fields = f.read().rsplit(")", 1)[1].split()
                times[int(tid)] = (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
        return times

    def cpuShare(self, seconds=5.0):
        """The game's processor use over a few seconds as a share of one core, and the shares of its
        threads in the order they were started (the game's own first, then the library's)."""
        before, start = self.cpuTimes(), time.monotonic()
        time.sleep(seconds)
        after, spent = self.cpuTimes(), time.monotonic() - start
        threads = [(t - before.get(tid, 0)) / spent for tid, t in sorted(after.items())]
        return sum(threads), threads

    def peakMemoryKiB(self):
        with open("/proc/%d/status" % self.game.pid) as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
        raise Failure("no VmHWM in /proc/%d/status" % self.game.pid)

    def figure(self, text):
        line = "%s: %s" % (self.name, text)
        print(line, flush=True)
        self.figures.append(line)

    def waitExit(self, timeout=15.0):
        try:
            return self.game.wait(timeout)
        except subprocess.TimeoutExpired:
            self.keep(self.grab(), "still-running")
            raise Failure("the game did not end within %.0f s" % timeout)

    def sanitizerReports(self):
        self.err.flush()
        with open(self.err.name, "rb") as f:
            text = f.read().decode(errors="replace")
        return re.findall(r"^.*(?:ERROR: \w+Sanitizer|runtime error:|WARNING: \w+Sanitizer).*$", text, re.M)

    def files(self):
        return sorted(os.listdir(self.cwd))

    def highscoreFile(self):
        with open(os.path.join(self.cwd, "highscore.mhs"), "rb") as f:
            data = f.read()
        check(len(data) == 16, "highscore.mhs holds %d bytes, not 16" % len(data))
        return list(struct.unpack("<4i", data))


# ------------------------------------------------------------------------------------------- game steps


def waitMenu(s, cursor, label):
    s.waitFor(label, lambda img: menuCursor(img) == cursor)


def waitChooser(s, cursor, label):
    s.waitFor(label, lambda img: chooserCursor(img) == cursor)


def chooseWizard(s, wizard):
    """From the main menu with the frame on "New game": open the chooser and pick the type, going
    right from Spring."""
    s.press("Return")
    waitChooser(s, 0, "chooser")
    for k in range(1, wizard + 1):
        s.press("Right")
        waitChooser(s, k, "chooser-%s" % TYPE_NAMES[k])
    s.press("Return")


def waitIntro(s, number, label):
    """The intro of match `number`, once it shows which type the human plays."""
    def named(img):
        intro = introOf(img)
        return intro if intro and intro[2] else None
    intro, _ = s.waitFor(label, named, timeout=20)
    check(intro[0] == number, "the intro shows Battle %d, expected Battle %d" % (intro[0], number))
    return intro


def skipIntro(s, number, player):
    intro = waitIntro(s, number, "intro-%d" % number)
    check(intro[2] == player, "the intro names %s as the human, expected %s" % (intro[2], player))
    s.press("space")
    return waitBattleChoosing(s, "battle-%d" % number)


def waitBattleChoosing(s, label, cursor=None, timeout=20.0):
    def choosing(img):
        b = battleOf(img)
        if b is None or b.cursor is None or (cursor is not None and b.cursor != cursor):
            return None
        return b
    return s.waitFor(label, choosing, timeout)[0]


def waitBattle(s, label, test, timeout=10.0):
    def state(img):
        b = battleOf(img)
        return b if b is not None and test(b) else None
    return s.waitFor(label, state, timeout)[0]


def moveCursor(s, current, target, label):
    """Up/Down presses from one spell button to another, the short way round."""
    while current != target:
        down = (target - current) % 4 <= 2
        s.press("Down" if down else "Up")
        current = (current + (1 if down else -1)) % 4
        waitBattle(s, label, lambda b, c=current: b.cursor == c)
    return current


def openAmount(s, label):
    s.press("Return")
    return waitBattle(s, label, lambda b: b.amount is not None and b.amount >= 1)


def queueStrongAttack(s, label):
    """Attack with everything: Enter, Up held until the amount stops at the mana left, Enter. Returns
    the first frame of the turn playing out."""
    b = openAmount(s, label + "-amount")
    mana = b.mana
    s.xdotool("keydown", "Up")
    time.sleep(1.0)  # 32 ticks a second: about 32 steps, more than the 20 that can be set
    s.xdotool("keyup", "Up")
    waitBattle(s, label + "-amount-held", lambda b: b.amount == min(20, mana))
    s.press("Return")
    return waitBattle(s, label + "-resolving", lambda b: b.cursor is None)


def queueWeakTurn(s, label):
    """Three attacks of 1 mana: the turn is played, the opponent barely hurt."""
    for k in range(3):
        openAmount(s, "%s-slot-%d-amount" % (label, k))
        s.press("Return")
        if k < 2:
            waitBattle(s, "%s-slot-%d-queued" % (label, k), lambda b, k=k: b.queue[k] == 1 and b.amount is None
                       and b.cursor is not None)
    waitBattle(s, label + "-resolving", lambda b: b.cursor is None)


def showcaseTurn(s, label):
    """The first turn of a run uses every key of the battle: cursor both ways round, amounts by
    presses and by holding Up, a spell taken back with Backspace, and a queue that resolves."""
    cursor = moveCursor(s, 0, 3, "%s-cursor-up-wraps" % label)          # Up from attack: special
    cursor = moveCursor(s, cursor, 1, "%s-cursor-down-wraps" % label)   # Down twice: attack, defense
    cursor = moveCursor(s, cursor, 0, "%s-cursor-attack" % label)
    b = openAmount(s, "%s-attack-amount" % label)
    check(b.amount == 1, "a new amount starts at 1, shows %s" % b.amount)
    for _ in range(3):
        s.press("Right")
    s.press("Left")
    waitBattle(s, "%s-attack-amount-3" % label, lambda b: b.amount == 3)
    s.press("Return")
    b = waitBattle(s, "%s-attack-3-queued" % label, lambda b: b.queue[0] == 3 and b.amount is None
                   and b.cursor is not None)
    check(b.mana == 17 and b.kinds == [0, None, None], "after queuing attack 3: %r" % b)
    cursor = moveCursor(s, b.cursor, 1, "%s-cursor-defense" % label)
    openAmount(s, "%s-defense-amount" % label)
    for _ in range(4):
        s.press("Right")
    waitBattle(s, "%s-defense-amount-5" % label, lambda b: b.amount == 5)
    s.press("Return")
    b = waitBattle(s, "%s-defense-5-queued" % label, lambda b: b.queue[1] == 5 and b.amount is None)
    check(b.mana == 12 and b.queue == [3, 5, None] and b.kinds == [0, 1, None], "after defense 5: %r" % b)
    s.press("BackSpace")
    b = waitBattle(s, "%s-defense-taken-back" % label, lambda b: b.queue[1] is None)
    check(b.mana == 17 and b.queue == [3, None, None] and b.kinds == [0, None, None] and b.cursor == 1,
          "Backspace must take back the defense and refund its 5 mana: %r" % b)
    moveCursor(s, 1, 0, "%s-cursor-attack-again" % label)
    b = queueStrongAttack(s, label)
    check(b.queue == [3, 17, None] and b.kinds == [0, 0, None] and b.mana == 0,
          "the turn plays attack 3, then attack 17: %r" % b)
    # The queue empties from the left while the slots play; nobody can fall in this first slot.
    b = waitBattle(s, "%s-slot-0-played" % label, lambda b: b.queue[0] is None, 10)
    check(b.queue[1:] == [17, None], "after slot 0 the queue shows %s, expected 17 in slot 1" % b.queue)


def playMatch(s, number, strong, showcase=False):
    """Plays the battle from its first choosing frame to its closing message; returns "won" or "lost"."""
    turn = 0
    deadline = time.monotonic() + 300
    while True:
        check(time.monotonic() < deadline, "match %d took more than five minutes" % number)
        s.gameAlive("match %d" % number)
        img = s.grab()
        b = battleOf(img)
        ending = closingMessage(img) if b else None
        if ending:
            s.keep(img, "match-%d-%s" % (number, ending))
            loser = b.opponentLife if ending == "won" else b.playerLife
            check(loser == 0, "the match is %s but the loser's bar shows %d life" % (ending, loser))
            return ending
        check(not isYellow(img), "match %d ended without its closing message being seen" % number)
        if b is not None and b.cursor is not None:
            check(b.cursor == 0 and b.mana == 20 and b.queue == [None] * 3,
                  "a turn starts on the attack button with 20 mana and an empty queue: %r" % b)
            turn += 1
            label = "match-%d-turn-%d" % (number, turn)
            if showcase and turn == 1:
                showcaseTurn(s, label)
            elif strong:
                queueStrongAttack(s, label)
            else:
                queueWeakTurn(s, label)
        time.sleep(0.1)


def playRun(s, wizard, firstIntroRuns, cap):
    """One tournament run from the chooser's Enter to the highscore screen. The first intro runs its
    course when asked, the others are skipped with a key. Plays to win until `cap` wins, then to lose,
    so that a run ends by a lost match in bounded time. Returns the matches won."""
    wins = 0
    number = 1
    while True:
        if number == 1 and firstIntroRuns:
            watchIntro(s, wizard)
        else:
            skipIntro(s, number, TYPE_NAMES[wizard])
        result = playMatch(s, number, strong=wins < cap, showcase=number == 1)
        if result == "lost":
            return wins
        wins += 1
        number += 1


def watchIntro(s, wizard):
    """The first intro left alone: the yellow screen, its lines sliding from right to left, and the
    battle starting by itself."""
    positions = []
    named = False
    deadline = time.monotonic() + 30
    while True:
        check(time.monotonic() < deadline, "the intro did not end within 30 s")
        img = s.grab()
        if battleOf(img):
            s.keep(img, "intro-1-over")
            break
        intro = introOf(img)
        if intro:
            check(intro[0] == 1 and intro[2] in (None, TYPE_NAMES[wizard]), "intro shows %r" % (intro,))
            named = named or intro[2] is not None
            if not positions or positions[-1] != intro[1]:
                positions.append(intro[1])
                if len(positions) in (1, 6):
                    s.keep(img, "intro-1-at-%d" % intro[1])
        time.sleep(0.1)
    centres = [p + 32 for p in positions]
    s.figure("intro lines seen centred at x = %s" % centres)
    check(named, "the intro never showed the human's type whole")
    check(len(centres) >= 5 and centres == sorted(centres, reverse=True),
          "the intro's lines must slide leftwards: centres %s" % centres)
    check(centres[0] > 400 and centres[-1] < 240, "the intro's lines must cross the screen: %s" % centres)
    waitBattleChoosing(s, "battle-1")


def answerDialog(s, yes, label):
    """The quit dialog's own keys: its first button, "Yes", has the focus, so Enter answers Yes; Right
    moves the focus to "No". (Its shortcut characters, C and ';', are letters, not Enter and Esc.)"""
    s.press("Escape")
    s.waitFor(label, dialogShown, timeout=10)
    if not yes:
        s.press("Right")
    s.press("Return")


def quitFromMenu(s):
    s.press("Right")
    waitMenu(s, 1, "menu-end-game")
    s.press("Return")
    status = s.waitExit()
    check(status == 0, "quitting from the menu ends with status %d, expected 0%s" % (status, s.stderrTail()))


# -------------------------------------------------------------------------------------------- scenarios


def steppedStart(s):
    """Starts the game and lets it run in slices of about a millisecond, stopped while each screenshot
    is taken, until the main menu shows. Returns whether the loading text was caught before it."""
    s.startGame()
    loading = False
    deadline = time.monotonic() + 60
    while True:
        s.gameAlive("the main menu")
        s.game.send_signal(signal.SIGSTOP)
        try:
            img = s.grab()
        finally:
            s.game.send_signal(signal.SIGCONT)
        if menuCursor(img) == 0:
            s.keep(img, "menu")
            return loading
        if isLoading(img) and not loading:
            loading = True
            s.keep(img, "loading")
        check(time.monotonic() < deadline, "no main menu within 60 s")
        time.sleep(0.001)


def scenarioQuit(s):
    """Start and quit: the loading text, then the main menu; Right, Enter ends with status 0 and
    writes nothing."""
    # The loading text is on the display only until the menu's pictures are decoded, a few
    # milliseconds, and the library hands frames to the X server when it flushes; even in slices
    # some starts never show it. Eight starts that all miss it fail.
    for attempt in range(1, 9):
        if steppedStart(s):
            break
        s.game.kill()
        s.game.wait()
    else:
        raise Failure("eight starts showed the main menu without the loading text before it")
    s.figure("loading text caught at start %d" % attempt)
    quitFromMenu(s)
    check(s.files() == [], "quitting at once must write nothing, found %s" % s.files())


def scenarioMenu(s):
    """The red frame follows every key on both pages; the chooser wraps, the main menu does not."""
    s.startGame()
    waitMenu(s, 0, "menu-new-game")
    s.figure("start-up to the first menu frame: %.2f s" % (time.monotonic() - s.started))
    s.press("Right")
    waitMenu(s, 1, "menu-right")
    s.press("Right")
    s.stays("menu-right-again", lambda img: menuCursor(img) == 1)
    s.press("Left")
    waitMenu(s, 0, "menu-left")
    s.press("Left")
    s.stays("menu-left-again", lambda img: menuCursor(img) == 0)
    s.press("Return")
    waitChooser(s, 0, "chooser-spring")
    for k in (1, 2, 3, 0):
        s.press("Right")
        waitChooser(s, k, "chooser-right-%s" % TYPE_NAMES[k])
    for k in (3, 2):
        s.press("Left")
        waitChooser(s, k, "chooser-left-%s" % TYPE_NAMES[k])
    s.press("Escape")
    waitMenu(s, 0, "menu-after-escape")
    s.press("Return")
    waitChooser(s, 0, "chooser-reopened-on-spring")
    s.press("Escape")
    waitMenu(s, 0, "menu-again")
    quitFromMenu(s)
    check(s.files() == [], "the menus must write nothing, found %s" % s.files())


def scenarioRun(s):
    """Whole runs with real keys: the intro left to run and skipped, matches to the end, the highscore
    screen and file; a later run with fewer wins keeps the better record."""
    wizard = 1
    s.startGame()
    waitMenu(s, 0, "menu")
    best = 0
    runs = []
    # A first run that wins nothing cannot show the record surviving a worse run, so try again.
    while True:
        chooseWizard(s, wizard)
        wins = playRun(s, wizard, firstIntroRuns=not runs, cap=2)
        runs.append(wins)
        shown, _ = s.waitFor("run-%d-highscore" % len(runs), lambda img: highscoreOf(img, TYPE_NAMES[wizard]))
        check(shown == (wins, best), "run %d: highscore screen shows score %d, old %d; expected %d, %d"
              % (len(runs), shown[0], shown[1], wins, best))
        best = max(best, wins)
        stored = s.highscoreFile()
        check(stored == [0, best, 0, 0], "after run %d the file holds %s, expected %s"
              % (len(runs), stored, [0, best, 0, 0]))
        s.press("Return")
        waitMenu(s, 0, "run-%d-menu" % len(runs))
        if best > 0 or len(runs) == 3:
            break
    check(best > 0, "three runs won no match: %s" % runs)
    # A worse run: left at once through the quit dialog, with no wins.
    chooseWizard(s, wizard)
    skipIntro(s, 1, TYPE_NAMES[wizard])
    answerDialog(s, yes=True, label="worse-run-dialog")
    shown, _ = s.waitFor("worse-run-highscore", lambda img: highscoreOf(img, TYPE_NAMES[wizard]))
    check(shown == (0, best), "the worse run's highscore screen shows %s, expected (0, %d)" % (shown, best))
    stored = s.highscoreFile()
    check(stored == [0, best, 0, 0], "a run with fewer wins must not lower the record: file holds %s" % stored)
    s.press("Return")
    waitMenu(s, 0, "menu-at-the-end")
    s.figure("runs won %s matches" % runs)
    s.figure("peak resident memory after %d runs: %d KiB" % (len(runs) + 1, s.peakMemoryKiB()))
    quitFromMenu(s)
    check(s.files() == ["highscore.mhs"], "the run leaves only highscore.mhs, found %s" % s.files())


def scenarioDialog(s):
    """Esc in a battle asks; "No" goes on with the battle as it was, "Yes" ends the run."""
    wizard = 3
    s.startGame()
    waitMenu(s, 0, "menu")
    s.press("Return")
    waitChooser(s, 0, "chooser")
    s.press("Left")
    waitChooser(s, wizard, "chooser-left-wraps-to-winter")
    s.press("Return")
    b = skipIntro(s, 1, "Winter")
    check(b.playerLife == 100 and b.opponentLife == 100 and b.mana == 20, "a battle starts at 100/100/20: %r" % b)
    moveCursor(s, 0, 1, "cursor-defense")
    answerDialog(s, yes=False, label="dialog")
    b = waitBattle(s, "dialog-declined", lambda b: b.cursor is not None)
    check(b.cursor == 1 and b.mana == 20 and b.queue == [None] * 3, "after No the battle is as it was: %r" % b)
    moveCursor(s, 1, 2, "still-reacts-cursor-heal")
    openAmount(s, "heal-amount")
    s.press("Right")
    s.press("Right")
    waitBattle(s, "heal-amount-3", lambda b: b.amount == 3)
    s.press("Return")
    b = waitBattle(s, "heal-queued", lambda b: b.queue[0] is not None and b.amount is None)
    check(b.queue[0] == 2 and b.kinds[0] == 2 and b.mana == 18, "a heal of 3 is queued as 2: %r" % b)
    answerDialog(s, yes=True, label="dialog-again")
    shown, _ = s.waitFor("highscore", lambda img: highscoreOf(img, "Winter"))
    check(shown == (0, 0), "a run left in its first match scores 0 over no record: %s" % (shown,))
    check(s.highscoreFile() == [0, 0, 0, 0], "the file holds %s" % s.highscoreFile())
    s.press("Return")
    waitMenu(s, 0, "menu-after-highscore")
    quitFromMenu(s)


def scenarioFatal(s):
    """The highscore file cannot be written: the message is shown, the game ends with a failure status
    and leaves the directory as it was."""
    os.mkdir(os.path.join(s.cwd, "highscore.mhs"))
    s.startGame()
    waitMenu(s, 0, "menu")
    chooseWizard(s, 0)
    skipIntro(s, 1, "Spring")
    answerDialog(s, yes=True, label="dialog")
    texts = ("Unable to write to highscore file", "Unable to read highscore file")
    shown = None
    deadline = time.monotonic() + 15
    while shown is None and s.game.poll() is None and time.monotonic() < deadline:
        shown = messageBox(s)
        time.sleep(0.1)
    if shown is not None:
        command, window = shown
        check(any(t in command for t in texts), "the message box is %r" % command)
        s.shot("message-box")
        # Dismissed like a person would: the pointer over the box, then Enter for its default button.
        s.xdotool("mousemove", "--sync", str(window[0] + window[2] // 2), str(window[1] + window[3] // 2))
        s.press("Return")
    status = s.waitExit()
    if shown is None:
        err = s.stderrTail()
        check(any(t in err for t in texts), "no message box and no message on stderr:%s" % err)
    check(status != 0, "a fatal error must not end with status 0")
    s.figure("fatal error ends with status %d; message shown %s" % (status, "in a box" if shown else "on stderr"))
    check(s.files() == ["highscore.mhs"] and os.listdir(os.path.join(s.cwd, "highscore.mhs")) == [],
          "the directory changed: %s" % s.files())


def messageBox(s):
    """(command line, window geometry) of the message box that the game opened, or None. The library
    shows its messages through xmessage, which carries the text on its command line."""
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % pid) as f:
                parent = int(f.read().rsplit(")", 1)[1].split()[1])
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                argv = f.read().decode(errors="replace").rstrip("\0").split("\0")
        except OSError:
            continue
        if parent != s.game.pid or os.path.basename(argv[0]) != "xmessage":
            continue
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^xmessage$",
                              "getwindowgeometry", "--shell"], env=s.env(), capture_output=True, text=True,
                             timeout=15)
        geometry = dict(line.split("=", 1) for line in out.stdout.split() if "=" in line)
        if all(k in geometry for k in ("X", "Y", "WIDTH", "HEIGHT")):
            return " ".join(argv), [int(geometry[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")]
    return None


def scenarioCpu(s):
    """Processor use while the game waits for the player: main menu, choosing in a battle, the quit
    dialog, highscore."""
    limit = 0.05
    s.startGame()
    waitMenu(s, 0, "menu")
    shares = {"main menu": s.cpuShare()}
    chooseWizard(s, 0)
    skipIntro(s, 1, "Spring")
    shares["battle, choosing"] = s.cpuShare()
    waitBattleChoosing(s, "battle-still-choosing", cursor=0)
    s.press("Escape")
    s.waitFor("dialog", dialogShown, timeout=10)
    shares["quit dialog"] = s.cpuShare()
    s.press("Return")
    s.waitFor("highscore", lambda img: highscoreOf(img, "Spring"))
    shares["highscore screen"] = s.cpuShare()
    s.press("Return")
    waitMenu(s, 0, "menu-again")
    quitFromMenu(s)
    for where, (share, threads) in shares.items():
        s.figure("processor use on the %s: %.1f%% of one core (by thread: %s)"
                 % (where, 100 * share, ", ".join("%.1f%%" % (100 * t) for t in threads)))
    shares = {where: share for where, (share, threads) in shares.items()}
    over = {w: v for w, v in shares.items() if v > limit}
    check(not over, "over %.0f%% of one core: %s" % (100 * limit, over))


SCENARIOS = {
    "quit": scenarioQuit,
    "menu": scenarioMenu,
    "run": scenarioRun,
    "dialog": scenarioDialog,
    "fatal": scenarioFatal,
    "cpu": scenarioCpu,
}


def main():
    global GLYPHS
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", required=True, help="the mirvanes executable")
    parser.add_argument("--glyphs", required=True, help="the font helper, mirvanes_e2e_glyphs")
    parser.add_argument("--out", required=True, help="build folder: screenshots, working folders and figures go below it")
    parser.add_argument("--limit", type=float, default=900, help="seconds before the scenario is failed")
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    args = parser.parse_args()
    GLYPHS = Glyphs(os.path.abspath(args.glyphs))
    args.game = os.path.abspath(args.game)
    args.out = os.path.abspath(args.out)

    def overtime(signum, frame):
        raise Failure("scenario ran longer than %.0f s" % args.limit)

    signal.signal(signal.SIGALRM, overtime)
    signal.signal(signal.SIGTERM, lambda signum, frame: sys.exit("terminated"))
    signal.alarm(int(args.limit))
    started = time.monotonic()
    s = Session(args, args.scenario)
    ok = False
    try:
        SCENARIOS[args.scenario](s)
        reports = s.sanitizerReports()
        check(not reports, "sanitizer reports:\n" + "\n".join(reports) + s.stderrTail())
        ok = True
    except Failure as failure:
        print("FAILED %s: %s" % (args.scenario, failure), file=sys.stderr)
        if s.game is not None:
            print(s.stderrTail(), file=sys.stderr)
    finally:
        signal.alarm(0)
        s.close()
        s.figure("scenario time %.1f s" % (time.monotonic() - started))
        with open(os.path.join(s.shots, "figures.txt"), "w") as f:
            f.write("\n".join(s.figures) + "\n")
        print("screenshots: %s" % s.shots)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
