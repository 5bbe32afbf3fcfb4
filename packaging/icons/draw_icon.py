#!/usr/bin/env python3
"""Draws Mirvanes' application icon as an SVG, from the game's own artwork: the player's wizard of
the battle screen in front of the wheel of the four seasons, on the battle panel's slate.

Usage: draw_icon.py OUTFILE (tools/render-icons renders the PNG sizes from it)
"""
import os
import sys

sys.dont_write_bytecode = True  # leave no cache beside the artwork
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "src"))
import draw_art as art  # noqa: E402

RIM = "#c8b070"


def icon():
    defs = art.gradient_defs()
    defs += ('<linearGradient id="slate" x1="0" y1="0" x2="0" y2="1">'
             '<stop offset="0" stop-color="#343848"/><stop offset="1" stop-color="#1c1e28"/></linearGradient>')
    defs += '<clipPath id="tile"><rect x="2" y="2" width="60" height="60" rx="10"/></clipPath>'
    b = '<rect x="2" y="2" width="60" height="60" rx="10" fill="url(#slate)"/>'
    # Spring on top, then clockwise Summer, Fall, Winter, as on the battle screen's wheels.
    wheel = "".join(f'<path d="M0,0 L0,-25 A25,25 0 0 1 25,0 Z" transform="rotate({90 * k - 45})" '
                    f'fill="{s["robe"]}" stroke="{RIM}" stroke-width="1.5"/>' for k, s in enumerate(art.SEASONS))
    b += f'<g transform="translate(32,30)">{wheel}</g>'
    b += f'<g clip-path="url(#tile)">{art.wizard(29, 60, 54, "#3c3c96", "#e8c060", "orbNeutral")}</g>'
    b += f'<rect x="2.5" y="2.5" width="59" height="59" rx="9.5" fill="none" stroke="{RIM}" stroke-width="1.5"/>'
    return art.svg(64, 64, b, defs)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "w") as f:
        f.write(icon())
