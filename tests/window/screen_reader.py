#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the game's window as a screen reader does, through the accessibility bus, and listens to a
step and a bump. Started by screen_reader.sh, which gives it a session bus, that bus and the game
(opened on exemple.dat).

usage: screen_reader.py
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

HINT = "Appuyez sur le rectangle  pour utilisez les touches (il devient vert)"
# What a screen reader finds, in the window's order, and nothing else: no hidden picture, no
# nameless decoration.
EXPECTED = [
    ("label", "Zirk pour Windows"),
    ("push button", "Fermer"),
    ("label", "Vous"),
    ("label", "La sortie"),
    ("label", HINT),
    ("push button", "Aller à gauche"),
    ("push button", "Aller en haut"),
    ("canvas", "Labyrinthe"),
    ("push button", "Aller à droite"),
    ("push button", "Aller en bas"),
    ("image", "Vous"),
    ("image", "La sortie"),
    ("push button", "Ouvrir"),
    ("push button", "Quitter"),
    ("panel", "Rectangle des touches"),
]
OPENED = ("Labyrinthe « exemple.dat » ouvert, 5 colonnes sur 5 lignes. "
          "En haut : mur, à droite : libre, en bas : mur, à gauche : mur.")
STEP = ("En haut : mur, à droite : libre, en bas : mur, à gauche : libre. "
        "Sortie en vue : 2 à droite, 2 en bas.")
BUMP = "Mur. " + STEP


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def has(accessible, state):
    return accessible.getState().contains(state)


def find_window():
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "zirk" and app.childCount == 1:
                return app.getChildAtIndex(0)
        time.sleep(0.1)
    fail("no application named zirk with one window on the accessibility bus")


heard = []


def on_focus(event):
    if event.detail1 == 1:
        heard.append((event.source.name, event.source.parent))


def listen_for(words, seconds=10):
    """Runs the events until a focus event says `words`; returns the control it was said through."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.iteration(False):
            pass
        for said, through in heard:
            if said == words:
                return through
        time.sleep(0.02)
    fail(f"never heard {words!r}; heard {[said for said, _ in heard]!r}")


def main():
    window = find_window()
    if window.getRoleName() != "frame" or window.name != "Zirk pour Windows":
        fail(f"the window is a {window.getRoleName()} named {window.name!r}")
    children = [window.getChildAtIndex(i) for i in range(window.childCount)]
    found = [(c.getRoleName(), c.name) for c in children]
    if found != EXPECTED:
        fail(f"the window's controls are {found!r}")
    print("ok: the window and its controls, by role and name")
    by_name = {(c.getRoleName(), c.name): c for c in children}
    panel = by_name[("panel", "Rectangle des touches")]
    if panel.description != HINT:
        fail(f"the key panel's hint is {panel.description!r}")
    close = by_name[("push button", "Fermer")].queryAction()
    if "Press" not in [close.getName(i) for i in range(close.nActions)]:
        fail("the close picture cannot be pressed from the accessibility interface")
    # The maze given on the command line was opened with the focus on "Ouvrir".
    opened = by_name[("push button", "Ouvrir")]
    if [c.name for c in opened] != [OPENED]:
        fail(f"the load was not said through 'Ouvrir': {[c.name for c in opened]!r}")
    print("ok: the key panel's hint, the close picture's action, the load in words")

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    if has(panel, pyatspi.STATE_CHECKED):
        fail("the key panel says keys reach it before it has the focus")
    extents = panel.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x, y = extents.x + extents.width // 2, extents.y + extents.height // 2
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)
    deadline = time.monotonic() + 10
    while not has(panel, pyatspi.STATE_CHECKED):
        if time.monotonic() > deadline:
            fail("the key panel never said that keys reach it")
        time.sleep(0.05)
    print("ok: the key panel says, once clicked, that keys reach it")

    subprocess.run(["xdotool", "type", "6"], check=True)
    if listen_for(STEP) != panel:
        fail("the step was not said through the key panel")
    subprocess.run(["xdotool", "type", "8"], check=True)
    if listen_for(BUMP) != panel:
        fail("the bump was not said through the key panel")
    if not has(panel, pyatspi.STATE_FOCUSED):
        fail("the key panel lost the focus while the step was said")
    print("ok: a step and a bump heard through the key panel, which keeps the keyboard")

    close.doAction([close.getName(i) for i in range(close.nActions)].index("Press"))
    print("PASS")


if __name__ == "__main__":
    main()
