#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The game (opened on exemple.dat) as a screen reader finds it on the accessibility bus."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

HINT = "Appuyez sur le rectangle  pour utilisez les touches (il devient vert)"
CONTROLS = ("label:Zirk pour Windows|push button:Fermer|label:Vous|label:La sortie|label:" + HINT +
            "|push button:Aller à gauche|push button:Aller en haut|canvas:Labyrinthe|push button:Aller à droite"
            "|push button:Aller en bas|image:Vous|image:La sortie|push button:Ouvrir|push button:Quitter"
            "|panel:Rectangle des touches")
STEP = "En haut : mur, à droite : libre, en bas : mur, à gauche : libre. Sortie en vue : 2 à droite, 2 en bas."
heard = []


def wait(until, what):
    deadline = time.monotonic() + 10
    while not until():
        if time.monotonic() > deadline:
            sys.exit(f"FAIL: {what}")
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.02)


def hear(event):
    try:
        heard.append((event.source.name, event.source.parent))
    except GLib.Error:
        pass  # words already replaced by the next ones


def game():
    return [a[0] for a in pyatspi.Registry.getDesktop(0) if a and a.name == "zirk" and a.childCount == 1]


wait(game, "no window of zirk on the accessibility bus")
window = game()[0]
found = "|".join(f"{c.getRoleName()}:{c.name}" for c in window)
wait(lambda: (window.getRoleName(), window.name, found) == ("frame", "Zirk pour Windows", CONTROLS),
     f"the window is {window} holding {found}")
panel, close = window[14], window[1].queryAction()
wait(lambda: panel.description == HINT, "the key panel's hint")
pyatspi.Registry.registerEventListener(hear, "object:state-changed:focused")
box = panel.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1"])
wait(lambda: panel.getState().contains(pyatspi.STATE_CHECKED), "the key panel never said that keys reach it")
subprocess.run(["xdotool", "type", "6"])
wait(lambda: (STEP, panel) in heard, f"never heard {STEP!r} through the key panel: {heard}")
wait(lambda: panel.getState().contains(pyatspi.STATE_FOCUSED), "the key panel lost the focus to the words")
print("ok: the window's controls by role and name, the hint, keys reaching the panel, a step heard")
close.doAction([close.getName(i) for i in range(close.nActions)].index("Press"))
