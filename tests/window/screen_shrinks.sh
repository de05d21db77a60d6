#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Without a window manager nobody else keeps the window on screen: when the screen shrinks under it (RandR) it
# comes back whole, and on a screen smaller than itself it starts with its title bar and close button visible.
#
# usage: screen_shrinks.sh ZIRK

# shellcheck source-path=SCRIPTDIR
set -euo pipefail
# shellcheck source=xvfb-session.sh
source "$(dirname "$0")/xvfb-session.sh"
zirk="$(realpath "${1:?usage: screen_shrinks.sh ZIRK}")"
[[ -x "$zirk" ]] || fail "no program at $zirk"
need_x_tools
command -v xrandr >/dev/null || { echo "SKIP: no xrandr (package x11-xserver-utils)"; exit 77; }

readonly TITLE="Zirk pour Windows"
fresh_home
start_xvfb
use_xcb

# screen_size W H: Xvfb offers one mode; a smaller one is added and chosen, and the screen shrinks to it.
screen_size() {
    xrandr --newmode "$1x$2" 40 "$1" $(($1 + 1)) $(($1 + 2)) $(($1 + 3)) "$2" $(($2 + 1)) $(($2 + 2)) $(($2 + 3))
    xrandr --addmode screen "$1x$2"
    xrandr --output screen --mode "$1x$2" --fb "$1x$2"
}

"$zirk" &
pid=$!
track_pid "$pid"
id="$(wait_window "$TITLE" 15 "$pid")" || fail "the game's window did not show"
xdotool windowmove --sync "$id" 600 400 || true
wait_for 5 "the window to move" geometry_is "$id" "600 400 503 393" || fail "the window could not be moved"
screen_size 800 600
wait_for 5 "the window back on the 800 x 600 screen" geometry_is "$id" "297 207 503 393" ||
    fail "after the screen shrank the window is at $(window_geometry "$id")"
echo "ok: the screen shrank under the window, which came back whole"

screen_size 400 300
wait_for 5 "the window against the top left of the 400 x 300 screen" geometry_is "$id" "0 0 503 393" ||
    fail "on a screen smaller than itself the window is at $(window_geometry "$id")"
"$zirk" &
second=$!
track_pid "$second"
two_windows() { [[ "$(xdotool search --onlyvisible --name "^$TITLE\$" | grep -c .)" == 2 ]]; }
wait_for 15 "a second window" two_windows ||
    fail "the second game's window did not show"
other="$(xdotool search --onlyvisible --name "^$TITLE\$" | grep -vx "$id")"
wait_for 5 "the window started on a 400 x 300 screen at its top left" geometry_is "$other" "0 0 503 393" ||
    fail "started on a screen smaller than itself, the window is at $(window_geometry "$other")"
echo "ok: on a screen smaller than itself the title bar is on screen, kept there and at start"
echo "PASS"
