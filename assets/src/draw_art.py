#!/usr/bin/env python3
"""Draws Mirvanes' seven pictures as SVG files.

Usage: draw_art.py OUTDIR

Writes menu-main.svg, menu-chooser.svg, fight.svg (640x480) and button-attack.svg,
button-defense.svg, button-heal.svg, button-special.svg (50x50) into OUTDIR. tools/render-art
turns them into the game's TGA files. The game draws frames, bars, text and buttons on fixed
pixels of these pictures, so every such place is given here by its exact coordinates.
"""
import os
import sys

SEASONS = [
    # name, element, robe, trim, glow, sky, ground
    dict(name="Spring", element="Wind", robe="#2f8a3c", trim="#b8e986", glow="#dfffc4",
         sky="#cfeecb", ground="#5fae47", beard="#d9d2c0",
         special="Confusing joint",
         text=["Swift and sly.", "His haze dulls", "the foe's spells."]),
    dict(name="Summer", element="Fire", robe="#b8281c", trim="#ffc23a", glow="#ffe08a",
         sky="#ffe3a3", ground="#a9b83c", beard="#9a5a2a",
         special="Vendetta",
         text=["Hot-headed, bold.", "Pays with his own", "life for a big blow."]),
    dict(name="Fall", element="Earth", robe="#7a4a1c", trim="#e0a040", glow="#f3d08a",
         sky="#f6c795", ground="#9a6230", beard="#e8e0d0",
         special="Heal of nature",
         text=["Calm and patient.", "Draws new life", "from the soil."]),
    dict(name="Winter", element="Ice", robe="#24509e", trim="#bfe6ff", glow="#e6f7ff",
         sky="#cfe2f6", ground="#eef4fb", beard="#ffffff",
         special="Frosty twist",
         text=["Cold and daring.", "Gambles on what", "the foe will cast."]),
]

SERIF = "font-family=\"DejaVu Serif\""
SANS = "font-family=\"DejaVu Sans\""
CONDENSED = "font-family=\"DejaVu Sans Condensed\" font-stretch=\"condensed\""
INK = "#2a1a0c"
SKIN = "#f0c8a0"

# Exact places the game draws on (inclusive pixel ranges).
LIFE_TROUGHS = [(20, 149), (491, 619)]
MANA_TROUGH = (255, 384)
TROUGH_Y = (155, 169)
TROUGH_RED = "#ff0000"
BUTTON_SLOTS_X = 570
BUTTON_SLOTS_Y = [200, 260, 320, 380]
QUEUE_X = [20, 80, 140]
QUEUE_Y = 200
SLOT_RIM = "#c8b070"     # multiples of 8: the rim survives quantisation unchanged
SLOT_FILL = "#282838"
MENU_BOXES = [(100, 370, 300, 430), (340, 370, 540, 430)]
# Every menu entry stands on a pale mat reaching MAT pixels either side of its frame rectangle,
# so the game's one-pixel red selection frame falls on pale ground, never on an outline.
MAT = 2
MAT_FILL = "#f8f8e8"     # multiples of 8: exact after quantisation
MAT_EDGE = "#180800"
# The battle's log: twelve rows of the 8-pixel font every 10 pixels from y = 262, so down to y = 379.
# The spell's name follows at y = 385.
LOG_ROWS_Y = (262, 379)
PANEL_MARGIN = 2
CHOOSER_BOXES = [(20, 190, 155, 220), (165, 190, 310, 220), (330, 190, 465, 220), (475, 190, 620, 220)]


def svg(width, height, body, defs=""):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n<defs>{defs}</defs>\n{body}\n</svg>\n')


def text(x, y, s, size, fill, font=SANS, anchor="middle", weight="normal", extra=""):
    s = s.replace("&", "&amp;").replace("<", "&lt;")
    return (f'<text x="{x}" y="{y}" {font} font-size="{size}" font-weight="{weight}" '
            f'text-anchor="{anchor}" fill="{fill}" {extra}>{s}</text>')


def outlined_text(x, y, s, size, fill, stroke, width, font=SERIF, weight="bold", anchor="middle"):
    """Text with a stroke painted under its fill, so the letters keep their full shape."""
    return (text(x, y, s, size, stroke, font, anchor, weight,
                 f'stroke="{stroke}" stroke-width="{width}" stroke-linejoin="round"')
            + text(x, y, s, size, fill, font, anchor, weight))


def crisp_rect(x1, y1, x2, y2, fill):
    """A filled rectangle covering exactly the pixels x1..x2, y1..y2."""
    return (f'<rect x="{x1}" y="{y1}" width="{x2 - x1 + 1}" height="{y2 - y1 + 1}" fill="{fill}" '
            f'shape-rendering="crispEdges"/>')


def crisp_frame(x1, y1, x2, y2, colour):
    """A one-pixel outline on exactly the pixels of the rectangle's edge."""
    return (crisp_rect(x1, y1, x2, y1, colour) + crisp_rect(x1, y2, x2, y2, colour)
            + crisp_rect(x1, y1, x1, y2, colour) + crisp_rect(x2, y1, x2, y2, colour))


def gradient_defs():
    """Gradients shared by the pictures."""
    d = ""
    for s in SEASONS:
        n = s["name"]
        d += (f'<radialGradient id="orb{n}"><stop offset="0" stop-color="#ffffff"/>'
              f'<stop offset="0.45" stop-color="{s["glow"]}"/>'
              f'<stop offset="1" stop-color="{s["trim"]}" stop-opacity="0"/></radialGradient>')
    d += ('<radialGradient id="orbNeutral"><stop offset="0" stop-color="#ffffff"/>'
          '<stop offset="0.5" stop-color="#e8e0ff"/>'
          '<stop offset="1" stop-color="#b0a0ff" stop-opacity="0"/></radialGradient>')
    d += ('<linearGradient id="plate" x1="0" y1="0" x2="0" y2="1">'
          '<stop offset="0" stop-color="#6a4a2a"/><stop offset="0.5" stop-color="#4a301a"/>'
          '<stop offset="1" stop-color="#36220f"/></linearGradient>')
    d += ('<linearGradient id="gold" x1="0" y1="0" x2="0" y2="1">'
          '<stop offset="0" stop-color="#fff3b0"/><stop offset="0.55" stop-color="#f2c230"/>'
          '<stop offset="1" stop-color="#b87a10"/></linearGradient>')
    d += ('<linearGradient id="parchment" x1="0" y1="0" x2="0" y2="1">'
          '<stop offset="0" stop-color="#fbf4e0"/><stop offset="1" stop-color="#efe2c2"/>'
          '</linearGradient>')
    d += ('<filter id="soft" x="-50%" y="-50%" width="200%" height="200%">'
          '<feGaussianBlur stdDeviation="2"/></filter>')
    return d


def wizard(cx, feet, height, robe, trim, orb, beard="#e8e4dc", facing=1, hood=False):
    """A standing wizard with a pointed hat and a staff; designed 100 units tall, feet at 0."""
    s = height / 100.0
    dark = "#00000040"
    g = f'<g transform="translate({cx},{feet}) scale({s * facing},{s})">'
    g += '<ellipse cx="0" cy="0" rx="28" ry="4.5" fill="#00000048"/>'
    # staff behind the front arm
    g += '<path d="M25,-76 L19,2" stroke="#5a3a1a" stroke-width="3.6" stroke-linecap="round"/>'
    g += f'<circle cx="25.5" cy="-80" r="11" fill="url(#{orb})"/>'
    g += f'<circle cx="25.5" cy="-80" r="4.2" fill="#ffffff" stroke="{trim}" stroke-width="1.2"/>'
    # robe with folds and hem
    g += f'<path d="M-23,0 L-14,-50 Q0,-58 14,-50 L25,0 Z" fill="{robe}" stroke="#1a1208" stroke-width="1.6"/>'
    g += f'<path d="M-4,-46 L-9,-1 M6,-40 L10,-1" stroke="{dark}" stroke-width="2.2"/>'
    g += f'<path d="M-23,0 L-21.8,-6 Q1,-10 23.8,-6 L25,0 Z" fill="{trim}"/>'
    g += f'<rect x="-13" y="-35" width="27" height="4.5" fill="{trim}" stroke="#1a1208" stroke-width="0.8"/>'
    # back arm (hidden mostly) and front arm reaching to the staff
    g += f'<path d="M5,-50 L23,-36 L19,-30 L3,-42 Z" fill="{robe}" stroke="#1a1208" stroke-width="1.4"/>'
    g += f'<circle cx="21.5" cy="-34" r="3.6" fill="{SKIN}" stroke="#1a1208" stroke-width="0.8"/>'
    # head, beard, eye
    g += f'<circle cx="1" cy="-60" r="8.2" fill="{SKIN}" stroke="#1a1208" stroke-width="1.2"/>'
    g += f'<path d="M-5,-59 Q-2,-36 10,-50 Q9,-56 8,-59 Q2,-54 -5,-59 Z" fill="{beard}" stroke="#1a1208" stroke-width="0.8"/>'
    g += '<circle cx="4.6" cy="-60.6" r="1.3" fill="#1a1208"/>'
    g += f'<circle cx="8.6" cy="-58.4" r="2" fill="{SKIN}" stroke="#1a1208" stroke-width="0.7"/>'
    if hood:
        g += f'<path d="M-10,-54 Q-14,-72 1,-73 Q14,-72 11,-62 Q4,-70 -4,-64 Q-6,-58 -10,-54 Z" fill="{robe}" stroke="#1a1208" stroke-width="1.2"/>'
    else:
        # pointed hat with a bent tip
        g += f'<ellipse cx="1" cy="-66" rx="16" ry="3.6" fill="{robe}" stroke="#1a1208" stroke-width="1.2"/>'
        g += f'<path d="M-10,-67 C-6,-79 -6,-90 -16,-101 C-1,-95 7,-84 12,-67 Z" fill="{robe}" stroke="#1a1208" stroke-width="1.2" stroke-linejoin="round"/>'
        g += f'<path d="M-9.2,-69.5 L11.2,-69.5 L10,-73.5 L-8,-73.5 Z" fill="{trim}"/>'
    return g + '</g>'


def element_effect(season, cx, cy, scale=1.0):
    """The season's element floating beside a wizard: wind, flame, rocks and leaves, or ice."""
    n = season["name"]
    g = f'<g transform="translate({cx},{cy}) scale({scale})">'
    if n == "Spring":
        for dy, w in ((-14, 26), (0, 34), (14, 22)):
            g += (f'<path d="M{-w / 2},{dy} q{w / 3},-7 {w * 2 / 3},0 t{w / 3},-3 a4,4 0 1 0 -4,-5" '
                  f'fill="none" stroke="#ffffff" stroke-width="3" stroke-linecap="round" opacity="0.9"/>')
            g += (f'<path d="M{-w / 2},{dy} q{w / 3},-7 {w * 2 / 3},0 t{w / 3},-3 a4,4 0 1 0 -4,-5" '
                  f'fill="none" stroke="#3c9a40" stroke-width="1.4" stroke-linecap="round"/>')
        for lx, ly, rot in ((-16, -24, -30), (14, 20, 40), (20, -4, 10)):
            g += (f'<path transform="translate({lx},{ly}) rotate({rot})" d="M0,-5 Q5,0 0,5 Q-5,0 0,-5 Z" '
                  f'fill="#7fd35a" stroke="#2a6a20" stroke-width="0.8"/>')
    elif n == "Summer":
        g += ('<path d="M0,22 C-16,18 -18,2 -10,-8 C-9,0 -5,2 -4,-2 C-6,-12 0,-22 6,-28 '
              'C5,-16 14,-12 14,0 C16,-4 17,-6 16,-10 C24,2 18,20 0,22 Z" fill="#ff7a1a" '
              'stroke="#8a2008" stroke-width="1.4"/>')
        g += ('<path d="M1,20 C-8,17 -9,7 -4,1 C-3,6 1,6 1,2 C0,-4 3,-10 6,-13 C6,-6 11,-3 10,5 '
              'C11,13 8,19 1,20 Z" fill="#ffd84a"/>')
        g += '<path d="M2,18 C-2,16 -2,11 1,8 C3,11 6,12 6,14 C6,17 4,18 2,18 Z" fill="#fff8d0"/>'
    elif n == "Fall":
        for rx, ry, r in ((-8, 12, 8), (8, 15, 6), (0, 3, 5)):
            g += (f'<path transform="translate({rx},{ry})" d="M{-r},0 L{-r * 0.6},{-r * 0.8} L{r * 0.4},{-r} '
                  f'L{r},{-r * 0.2} L{r * 0.7},{r * 0.7} L{-r * 0.5},{r * 0.8} Z" fill="#8a6a48" '
                  f'stroke="#3a2410" stroke-width="1.2"/>')
        for lx, ly, rot, col in ((-12, -14, 20, "#e8801c"), (10, -20, -35, "#c8401c"), (14, -4, 60, "#f0b020")):
            g += (f'<path transform="translate({lx},{ly}) rotate({rot})" d="M0,-7 L2,-2 L7,-3 L3,1 L5,6 '
                  f'L0,3 L-5,6 L-3,1 L-7,-3 L-2,-2 Z" fill="{col}" stroke="#5a2a08" stroke-width="0.8"/>')
    else:
        for fx, fy, r in ((0, -6, 13), (-15, 14, 7), (14, 16, 6)):
            arms = ""
            for a in range(0, 180, 60):
                arms += f'<path d="M0,{-r} L0,{r}" transform="rotate({a})"/>'
                arms += f'<path d="M-{r * 0.3},{-r * 0.75} L0,{-r * 0.55} L{r * 0.3},{-r * 0.75}" transform="rotate({a})"/>'
                arms += f'<path d="M-{r * 0.3},{r * 0.75} L0,{r * 0.55} L{r * 0.3},{r * 0.75}" transform="rotate({a})"/>'
            g += (f'<g transform="translate({fx},{fy})" fill="none" stroke="#ffffff" stroke-width="3.4" '
                  f'stroke-linecap="round">{arms}</g>')
            g += (f'<g transform="translate({fx},{fy})" fill="none" stroke="#3a7ad0" stroke-width="1.6" '
                  f'stroke-linecap="round">{arms}</g>')
    return g + '</g>'


def season_scene(season, x, y, w, h, horizon):
    """A small landscape of one season: sky, sun or snow, ground and a tree."""
    n = season["name"]
    g = f'<g><clipPath id="clip{n}{x}"><rect x="{x}" y="{y}" width="{w}" height="{h}" rx="6"/></clipPath>'
    g += f'<g clip-path="url(#clip{n}{x})">'
    g += f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="url(#sky{n})"/>'
    if n == "Summer":
        g += f'<circle cx="{x + w - 26}" cy="{y + 24}" r="22" fill="#fff6c0" opacity="0.55"/>'
        g += f'<circle cx="{x + w - 26}" cy="{y + 24}" r="14" fill="#fff0a0"/>'
    g += (f'<path d="M{x},{horizon} Q{x + w * 0.3},{horizon - 14} {x + w * 0.6},{horizon - 4} '
          f'T{x + w},{horizon - 8} L{x + w},{y + h} L{x},{y + h} Z" fill="{season["ground"]}"/>')
    tx = x + 18 if n in ("Spring", "Fall") else x + w - 20
    ty = horizon - 4
    g += f'<path d="M{tx},{ty} L{tx},{ty - 22}" stroke="#5a3a1a" stroke-width="4"/>'
    if n == "Spring":
        g += f'<circle cx="{tx}" cy="{ty - 30}" r="13" fill="#7ccc5a"/>'
        for bx, by in ((-6, -34), (5, -28), (0, -38), (7, -36), (-8, -26)):
            g += f'<circle cx="{tx + bx}" cy="{ty + by}" r="2" fill="#ffc0d8"/>'
    elif n == "Summer":
        g += f'<circle cx="{tx}" cy="{ty - 30}" r="14" fill="#3f8a2a"/>'
    elif n == "Fall":
        g += f'<circle cx="{tx}" cy="{ty - 30}" r="13" fill="#e07a1c"/>'
        g += f'<circle cx="{tx + 5}" cy="{ty - 34}" r="7" fill="#c84a14"/>'
    else:
        g += (f'<path d="M{tx},{ty - 50} L{tx + 13},{ty - 14} L{tx - 13},{ty - 14} Z" fill="#2a6a5a"/>'
              f'<path d="M{tx},{ty - 50} L{tx + 6},{ty - 33} L{tx - 6},{ty - 33} Z" fill="#ffffff"/>')
        for fx, fy in ((x + 16, y + 20), (x + 40, y + 44), (x + 70, y + 14), (x + 100, y + 36),
                       (x + 124, y + 62), (x + 30, y + 70)):
            g += f'<circle cx="{fx}" cy="{fy}" r="1.8" fill="#ffffff"/>'
    return g + '</g></g>'


def sky_defs():
    d = ""
    tops = {"Spring": "#a8ddf0", "Summer": "#8cc8f0", "Fall": "#b8c8d8", "Winter": "#9ab4d4"}
    for s in SEASONS:
        d += (f'<linearGradient id="sky{s["name"]}" x1="0" y1="0" x2="0" y2="1">'
              f'<stop offset="0" stop-color="{tops[s["name"]]}"/>'
              f'<stop offset="1" stop-color="{s["sky"]}"/></linearGradient>')
    return d


def seasons_band_defs():
    """Horizontal gradients running Spring, Summer, Fall, Winter from left to right."""
    sky = ["#bfe8c8", "#ffe2a0", "#f8c090", "#cfe0f4"]
    ground = ["#4f9e3c", "#98b030", "#a0602a", "#e8eff8"]
    d = '<linearGradient id="bandSky" x1="0" y1="0" x2="1" y2="0">'
    d += "".join(f'<stop offset="{i / 3:.3f}" stop-color="{c}"/>' for i, c in enumerate(sky))
    d += '</linearGradient><linearGradient id="bandGround" x1="0" y1="0" x2="1" y2="0">'
    d += "".join(f'<stop offset="{i / 3:.3f}" stop-color="{c}"/>' for i, c in enumerate(ground))
    d += '</linearGradient>'
    d += ('<linearGradient id="skyFade" x1="0" y1="0" x2="0" y2="1">'
          '<stop offset="0" stop-color="#3a4a8a" stop-opacity="0.55"/>'
          '<stop offset="0.55" stop-color="#ffffff" stop-opacity="0"/></linearGradient>')
    return d


def entry_mat(x1, y1, x2, y2, edge=True):
    """The pale mat of a menu entry: MAT pixels either side of the frame rectangle x1..x2, y1..y2,
    optionally edged by a dark line just outside; the entry's plate goes just inside it."""
    m = MAT
    g = crisp_frame(x1 - m - 1, y1 - m - 1, x2 + m + 1, y2 + m + 1, MAT_EDGE) if edge else ""
    g += crisp_rect(x1 - m, y1 - m, x2 + m, y2 + m, MAT_FILL)
    return g


def button_plate(x1, y1, x2, y2, label, size=22):
    """A main-menu entry: a pale mat on the game's frame rectangle, so the red selection frame
    stands on it, and a raised plate with the label inside the mat."""
    px1, py1, px2, py2 = x1 + MAT + 1, y1 + MAT + 1, x2 - MAT - 1, y2 - MAT - 1
    w, h = px2 - px1 - 1, py2 - py1 - 1
    g = entry_mat(x1, y1, x2, y2)
    g += crisp_frame(px1, py1, px2, py2, "#180800")
    g += crisp_rect(px1 + 1, py1 + 1, px2 - 1, py2 - 1, "#36220f")
    g += (f'<rect x="{px1 + 1.5}" y="{py1 + 1.5}" width="{w - 1}" height="{h - 1}" rx="3" '
          f'fill="url(#plate)" stroke="#e8c060" stroke-width="1"/>')
    g += (f'<rect x="{px1 + 3.5}" y="{py1 + 3.5}" width="{w - 5}" height="{h - 5}" rx="2" fill="none" '
          f'stroke="#ffffff" stroke-opacity="0.18" stroke-width="1"/>')
    cx, cy = (x1 + x2) / 2, (y1 + y2) / 2 + size * 0.36
    g += text(cx + 1, cy + 1, label, size, "#000000", SERIF, weight="bold")
    g += text(cx, cy, label, size, "#fff0c0", SERIF, weight="bold")
    return g


def key_hint(y, s, x=320, size=12, fill="#f4ecd8", font=SANS):
    return text(x, y, s, size, fill, font, weight="bold", extra='xml:space="preserve"')


def menu_main():
    defs = gradient_defs() + seasons_band_defs()
    b = '<rect width="640" height="480" fill="url(#bandSky)"/>'
    b += '<rect width="640" height="480" fill="url(#skyFade)"/>'
    # sun in summer, snow in winter, blossoms in spring, leaves in fall
    for fx, fy in ((520, 160), (560, 210), (600, 150), (500, 240), (620, 260), (470, 190), (590, 300), (545, 270)):
        b += f'<circle cx="{fx}" cy="{fy}" r="2.4" fill="#ffffff"/>'
    # hills
    b += ('<path d="M0,300 Q80,262 170,290 T340,282 T500,288 T640,276 L640,480 L0,480 Z" '
          'fill="url(#bandGround)"/>')
    b += ('<path d="M0,330 Q100,306 220,326 T440,322 T640,318 L640,480 L0,480 Z" '
          'fill="url(#bandGround)" opacity="0.85"/>')
    b += '<path d="M0,330 Q100,306 220,326 T440,322 T640,318 L640,480 L0,480 Z" fill="#000000" opacity="0.12"/>'
    # title
    b += outlined_text(323, 113, "Mirvanes", 88, "#000000", "#000000", 10)
    b += outlined_text(320, 110, "Mirvanes", 88, "url(#gold)", "#3a2008", 7)
    b += outlined_text(320, 146, "The duel of the four seasons", 20, "#fff8e0", "#3a2008", 4,
                       font=SERIF, weight="bold")
    # the four wizards, each with its element
    xs = [110, 250, 390, 530]
    feet = [322, 312, 316, 314]
    for s, x, f in zip(SEASONS, xs, feet):
        b += f'<circle cx="{x}" cy="{f - 70}" r="58" fill="{s["glow"]}" opacity="0.35"/>'
        b += wizard(x, f, 140, s["robe"], s["trim"], f'orb{s["name"]}', s["beard"], 1 if x < 320 else -1)
        ex = x - 50 if x < 320 else x + 50
        b += element_effect(s, ex, f - 90, 1.1)
    # menu entries over a darker strip, and the key hint
    b += '<rect x="0" y="352" width="640" height="128" fill="#1a1008" opacity="0.35"/>'
    b += button_plate(*MENU_BOXES[0], "New game", 24)
    b += button_plate(*MENU_BOXES[1], "End game", 24)
    b += key_hint(462, "Left / Right: choose      Enter: confirm")
    return svg(640, 480, b, defs)


def menu_chooser():
    defs = gradient_defs() + seasons_band_defs() + sky_defs()
    b = '<rect width="640" height="480" fill="#2a1c10"/>'
    b += '<rect width="640" height="480" fill="url(#bandSky)" opacity="0.35"/>'
    b += outlined_text(320, 48, "Choose your wizard", 34, "url(#gold)", "#2a1408", 5)
    for i, (s, box) in enumerate(zip(SEASONS, CHOOSER_BOXES)):
        x1, y1, x2, y2 = box
        w = x2 - x1 + 1
        cx = (x1 + x2) / 2
        # the card, the season's scene with its wizard, the name plate on the selection box
        b += (f'<rect x="{x1 - 3}" y="66" width="{w + 6}" height="388" rx="8" fill="#f4ead2" '
              f'stroke="#1a1008" stroke-width="2"/>')
        b += season_scene(s, x1 + 1, 70, w - 2, 114, 166)
        b += wizard(cx, 176, 96, s["robe"], s["trim"], f'orb{s["name"]}', s["beard"], 1 if i < 2 else -1)
        # The mat spans the card's inside from edge to edge; thin rules close it above and below.
        b += entry_mat(x1, y1, x2, y2, edge=False)
        b += crisp_rect(x1 - MAT, y1 - MAT - 1, x2 + MAT, y1 - MAT - 1, "#a08868")
        b += crisp_rect(x1 - MAT, y2 + MAT + 1, x2 + MAT, y2 + MAT + 1, "#a08868")
        px1, py1, px2, py2 = x1 + MAT + 1, y1 + MAT + 1, x2 - MAT - 1, y2 - MAT - 1
        b += crisp_frame(px1, py1, px2, py2, "#180800")
        b += crisp_rect(px1 + 1, py1 + 1, px2 - 1, py2 - 1, s["robe"])
        b += crisp_rect(px1 + 1, py1 + 1, px2 - 1, py1 + 1, "#ffffff40")
        b += text(cx + 1, y1 + 22, s["name"], 18, "#000000", SERIF, weight="bold")
        b += text(cx, y1 + 21, s["name"], 18, "#ffffff", SERIF, weight="bold")
        # element with its sign, then the character text
        b += element_effect(s, cx, 258, 0.85)
        b += text(cx, 300, "Element", 11, "#6a5038", SANS)
        b += text(cx, 320, s["element"], 18, s["robe"], SERIF, weight="bold")
        b += f'<path d="M{x1 + 16},333 L{x2 - 16},333" stroke="{s["robe"]}" stroke-width="1.5" opacity="0.6"/>'
        for k, line in enumerate(s["text"]):
            b += text(cx, 354 + 17 * k, line, 12.5, INK, CONDENSED)
        b += text(cx, 432, "Special: " + s["special"], 11,
                  "#6a5038", CONDENSED, extra='font-style="italic"')
    b += key_hint(472, "Left / Right: choose      Enter: start      Esc: back")
    return svg(640, 480, b, defs)


def fight():
    defs = gradient_defs()
    defs += ('<linearGradient id="arenaSky" x1="0" y1="0" x2="0" y2="1">'
             '<stop offset="0" stop-color="#d8ecfa"/><stop offset="0.7" stop-color="#eef6fc"/>'
             '<stop offset="1" stop-color="#fbf4e2"/></linearGradient>')
    defs += ('<linearGradient id="floor" x1="0" y1="0" x2="1" y2="0">'
             '<stop offset="0" stop-color="#5aa444"/><stop offset="0.33" stop-color="#9cb438"/>'
             '<stop offset="0.67" stop-color="#a8682c"/><stop offset="1" stop-color="#e4edf6"/>'
             '</linearGradient>')
    defs += ('<linearGradient id="slate" x1="0" y1="0" x2="0" y2="1">'
             '<stop offset="0" stop-color="#343848"/><stop offset="1" stop-color="#1c1e28"/>'
             '</linearGradient>')
    defs += ('<linearGradient id="farHills" x1="0" y1="0" x2="1" y2="0">'
             '<stop offset="0" stop-color="#c8e0c8"/><stop offset="0.33" stop-color="#d8e0bc"/>'
             '<stop offset="0.67" stop-color="#e6d4bc"/><stop offset="1" stop-color="#e4ecf4"/>'
             '</linearGradient>')
    b = '<rect width="640" height="150" fill="url(#arenaSky)"/>'
    # clouds high up, clear of the title and of the flight path of the spells
    for cx, cy, w in ((90, 46, 46), (545, 38, 54), (250, 70, 34), (420, 64, 40)):
        b += (f'<g fill="#ffffff" opacity="0.9"><ellipse cx="{cx}" cy="{cy}" rx="{w}" ry="{w * 0.22}"/>'
              f'<circle cx="{cx - w * 0.3}" cy="{cy - w * 0.12}" r="{w * 0.26}"/>'
              f'<circle cx="{cx + w * 0.15}" cy="{cy - w * 0.2}" r="{w * 0.32}"/></g>')
    # far mountains and hills, kept pale so the spells flying along y = 118 stand out
    b += ('<path d="M0,122 L40,104 L70,114 L120,92 L165,112 L230,100 L290,116 L340,98 L400,114 '
          'L455,94 L520,112 L575,98 L640,110 L640,141 L0,141 Z" fill="#dde6ee"/>')
    b += ('<path d="M120,92 L108,98 L116,99 L124,96 Z M455,94 L444,100 L452,101 L461,98 Z '
          'M575,98 L566,103 L573,104 L581,101 Z" fill="#ffffff"/>')
    b += ('<path d="M0,130 Q60,118 130,126 T270,122 T420,126 T560,118 T640,124 L640,141 L0,141 Z" '
          'fill="url(#farHills)"/>')
    # small seasonal trees in the distance, below the flight path of the spells
    for tx, kind in ((180, "Spring"), (215, "Spring"), (275, "Summer"), (305, "Summer"),
                     (350, "Fall"), (380, "Fall"), (440, "Winter"), (465, "Winter")):
        if kind == "Winter":
            b += f'<path d="M{tx},122 L{tx + 6},139 L{tx - 6},139 Z" fill="#8aa8a8"/>'
            b += f'<path d="M{tx},122 L{tx + 3},129 L{tx - 3},129 Z" fill="#ffffff"/>'
        else:
            col = {"Spring": "#a8d890", "Summer": "#88b070", "Fall": "#e0a060"}[kind]
            b += f'<path d="M{tx},139 L{tx},133" stroke="#9a8070" stroke-width="2"/>'
            b += f'<circle cx="{tx}" cy="129" r="5.5" fill="{col}"/>'
    # the title ribbon, pale so the black title at y = 25 reads
    b += ('<path d="M176,14 L464,14 L456,28 L464,42 L176,42 L184,28 Z" fill="url(#parchment)" '
          'stroke="#8a6a3a" stroke-width="1.5"/>')
    # arena floor: the four seasons from left to right, ground line at y = 140
    b += '<rect x="0" y="140" width="640" height="10" fill="url(#floor)"/>'
    b += '<path d="M0,140.5 L640,140.5" stroke="#2a1a0c" stroke-width="1" opacity="0.5"/>'
    b += crisp_rect(0, 150, 639, 479, "url(#slate)")
    b += crisp_rect(0, 150, 639, 150, "#0c0c12")
    # the duellists: the player at the left, the opponent at the right, facing each other
    b += wizard(71, 140, 64, "#3c3c96", "#e8c060", "orbNeutral", "#e8e4dc", 1)
    b += wizard(568, 140, 64, "#5a2a4a", "#c0c0c8", "orbNeutral", "#b8b0a8", -1, hood=True)
    # bar troughs: red behind both life bars, black behind the mana bar; a dark rim around each
    for x1, x2 in LIFE_TROUGHS:
        b += crisp_rect(x1 - 2, TROUGH_Y[0] - 2, x2 + 2, TROUGH_Y[1] + 2, "#c8b070")
        b += crisp_rect(x1 - 1, TROUGH_Y[0] - 1, x2 + 1, TROUGH_Y[1] + 1, "#000000")
        b += crisp_rect(x1, TROUGH_Y[0], x2, TROUGH_Y[1], TROUGH_RED)
    x1, x2 = MANA_TROUGH
    b += crisp_rect(x1 - 2, TROUGH_Y[0] - 2, x2 + 2, TROUGH_Y[1] + 2, "#c8b070")
    b += crisp_rect(x1 - 1, TROUGH_Y[0] - 1, x2 + 1, TROUGH_Y[1] + 1, "#404050")
    b += crisp_rect(x1, TROUGH_Y[0], x2, TROUGH_Y[1], "#000000")
    b += text(20, 186, "You", 11, "#c8b070", SANS, anchor="start", weight="bold")
    b += text(619, 186, "Opponent", 11, "#c8b070", SANS, anchor="end", weight="bold")
    # queue slots and the button column
    for x in QUEUE_X:
        b += crisp_rect(x, QUEUE_Y, x + 49, QUEUE_Y + 49, SLOT_RIM)
        b += crisp_rect(x + 1, QUEUE_Y + 1, x + 48, QUEUE_Y + 48, SLOT_FILL)
    for y in BUTTON_SLOTS_Y:
        b += crisp_rect(BUTTON_SLOTS_X, y, BUTTON_SLOTS_X + 49, y + 49, SLOT_RIM)
        b += crisp_rect(BUTTON_SLOTS_X + 1, y + 1, BUTTON_SLOTS_X + 48, y + 48, SLOT_FILL)
    # mana caption box: dark in the middle for the white amount at (350, 230)
    b += ('<rect x="300.5" y="200.5" width="99" height="49" rx="5" fill="#101018" '
          'stroke="#c8b070" stroke-width="1"/>')
    b += text(350, 216, "Mana", 13, "#f0d890", SERIF, weight="bold")
    b += '<path d="M312,233.5 L322,227.5 L322,239.5 Z" fill="#f0d890"/>'
    b += '<path d="M388,233.5 L378,227.5 L378,239.5 Z" fill="#f0d890"/>'
    # a small wheel of the four seasons between the mana box and the buttons
    wheel = ""
    for k, s in enumerate(SEASONS):
        wheel += (f'<path d="M0,0 L0,-18 A18,18 0 0 1 18,0 Z" transform="rotate({90 * k - 45})" '
                  f'fill="{s["robe"]}" stroke="#c8b070" stroke-width="1"/>')
    b += f'<g transform="translate(485,225)">{wheel}<circle r="5" fill="#c8b070"/></g>'
    b += f'<g transform="translate(245,225) rotate(45)">{wheel}<circle r="5" fill="#c8b070"/></g>'
    # one light panel: the message log above a rule, the spell description below it; the rule and
    # the panel's top edge stand PANEL_MARGIN pixels clear of the log's rows and of the spell name
    top, rule, bottom = LOG_ROWS_Y[0] - PANEL_MARGIN - 1, LOG_ROWS_Y[1] + PANEL_MARGIN + 1, 452
    b += (f'<rect x="15.5" y="{top + 0.5}" width="550" height="{bottom - top}" rx="4" fill="url(#parchment)" '
          'stroke="#c8b070" stroke-width="1"/>')
    b += crisp_rect(16, rule, 565, rule, "#c8b070")
    # the same keys choose the spell and then set its amount
    b += key_hint(470, "Up/Down: spell or amount    Enter: choose, then queue    Left/Right: amount    "
                  "Backspace: undo    Esc: end the run", x=320, size=10.5, fill="#c8c0a8", font=CONDENSED)
    return svg(640, 480, b, defs)


BUTTON_COLOURS = {
    "attack": ("#e05030", "#7a1808"),
    "defense": ("#4a80d0", "#142a60"),
    "heal": ("#50b848", "#14501a"),
    "special": ("#a060d0", "#3a1460"),
}


def button(kind):
    light, dark = BUTTON_COLOURS[kind]
    defs = (f'<radialGradient id="face" cx="0.35" cy="0.3" r="0.85">'
            f'<stop offset="0" stop-color="{light}"/><stop offset="1" stop-color="{dark}"/></radialGradient>')
    b = '<rect width="50" height="50" fill="#141018"/>'
    b += '<rect x="1.5" y="1.5" width="47" height="47" rx="5" fill="url(#face)" stroke="#e8c060" stroke-width="1"/>'
    # the icon sits up and to the left: the game prints the queued mana in the bottom-right corner
    if kind == "attack":
        b += ('<g transform="translate(22,22) rotate(45)">'
              '<path d="M-2.6,-17 L0,-21 L2.6,-17 L2.6,6 L-2.6,6 Z" fill="#f4f4f8" stroke="#20141a" stroke-width="1.2"/>'
              '<path d="M0,-18 L0,5" stroke="#a8a8b8" stroke-width="0.8"/>'
              '<rect x="-8" y="6" width="16" height="3.2" rx="1" fill="#f2c230" stroke="#20141a" stroke-width="1"/>'
              '<rect x="-1.8" y="9" width="3.6" height="7" fill="#6a3a18" stroke="#20141a" stroke-width="1"/>'
              '<circle cx="0" cy="17.5" r="2.4" fill="#f2c230" stroke="#20141a" stroke-width="1"/></g>')
        b += '<path d="M33,8 L36,14 M39,12 L36,15 M31,15 L35,16" stroke="#ffe890" stroke-width="1.6" stroke-linecap="round"/>'
    elif kind == "defense":
        b += ('<path d="M22,7 L35,11 Q35,29 22,38 Q9,29 9,11 Z" fill="#d8e4f4" stroke="#101830" stroke-width="1.6"/>'
              '<path d="M22,10 L32,13 Q32,27 22,34.5 Z" fill="#8aa8d8"/>'
              '<path d="M22,7 L22,38 M10,17 L34,17" stroke="#101830" stroke-width="1.2"/>')
    elif kind == "heal":
        b += ('<path d="M18,8 L26,8 L26,17 L35,17 L35,25 L26,25 L26,34 L18,34 L18,25 L9,25 L9,17 L18,17 Z" '
              'fill="#ffffff" stroke="#0c3a10" stroke-width="1.6" stroke-linejoin="round"/>'
              '<path d="M20,10 L24,10 L24,19 L33,19 L33,23" fill="none" stroke="#c8f0c0" stroke-width="1"/>')
    else:
        b += ('<path d="M22,5 L25.5,16 L37,16 L27.8,22.6 L31.2,33.6 L22,27 L12.8,33.6 L16.2,22.6 '
              'L7,16 L18.5,16 Z" fill="#ffe060" stroke="#3a1460" stroke-width="1.4" stroke-linejoin="round"/>'
              '<path d="M22,11 L24,17.5 L22,24 L20,17.5 Z" fill="#fff8d0"/>'
              '<circle cx="38" cy="7" r="1.6" fill="#ffffff"/><circle cx="8" cy="34" r="1.3" fill="#ffffff"/>')
    # quiet dark corner under the mana number
    b += '<path d="M30,40 L47.5,40 L47.5,47.5 L30,47.5 Z" fill="#000000" opacity="0.35"/>'
    return svg(50, 50, b, defs)


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    pictures = {"menu-main": menu_main(), "menu-chooser": menu_chooser(), "fight": fight()}
    for kind in ("attack", "defense", "heal", "special"):
        pictures["button-" + kind] = button(kind)
    for name, content in pictures.items():
        with open(os.path.join(out, name + ".svg"), "w") as f:
            f.write(content)


if __name__ == "__main__":
    main(sys.argv)
