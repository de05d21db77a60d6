#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Moving the borderless window by its title, with or without a window manager, and the close
# picture: pressing the title picture or the title text and dragging moves the window with the
# pointer, the icon does not, a press on the close picture released elsewhere keeps the window,
# a click on it ends the program.
#
# usage: title_drag.sh ZIRK MAZES nowm|openbox

# shellcheck source-path=SCRIPTDIR
# Screen points travel as one "X Y" word and are split on purpose where they are used.
# shellcheck disable=SC2046,SC2086
set -euo pipefail
# shellcheck source=xvfb-session.sh
source "$(dirname "$0")/xvfb-session.sh"
zirk="$(realpath "${1:?usage: title_drag.sh ZIRK MAZES nowm|openbox}")"
mazes="$(realpath "${2:?usage: title_drag.sh ZIRK MAZES nowm|openbox}")"
mode="${3:?usage: title_drag.sh ZIRK MAZES nowm|openbox}"
[[ -x "$zirk" ]] || fail "no program at $zirk"
case "$mode" in
    nowm | openbox) ;;
    *) fail "unknown mode '$mode': nowm or openbox" ;;
esac
need_x_tools
if [[ "$mode" == openbox ]] && ! command -v openbox >/dev/null 2>&1; then
    fail "openbox is not installed (package openbox)"
fi

readonly TITLE="Zirk pour Windows"
readonly DX=60 DY=40 STEPS=10
# The close picture's top corners: light then black when released, black then white when held.
readonly CLOSE_LEFT="4 4" CLOSE_RIGHT="19 4"
readonly CLOSE_UP_LEFT=223,223,223 CLOSE_UP_RIGHT=0,0,0 CLOSE_DOWN_LEFT=0,0,0 CLOSE_DOWN_RIGHT=255,255,255

fresh_home
start_xvfb
use_xcb
if [[ "$mode" == openbox ]]; then
    start_wm
fi

cd "$mazes"
"$zirk" & pid=$!
track_pid "$pid"
id="$(wait_window "$TITLE" 15 "$pid")" || fail "the window did not show"
# The window is drawn once its close picture is.
read -r x0 y0 _ _ < <(window_geometry "$id")
wait_pixel $((x0 + 4)) $((y0 + 4)) "$CLOSE_UP_LEFT" 10 "the close picture" || fail "the window was not drawn"

# window_point X Y: the screen point of the window-relative point (X, Y) where the window is now.
window_point() {
    local x y _w _h
    read -r x y _w _h < <(window_geometry "$id")
    echo "$((x + $1)) $((y + $2))"
}

# press_and_drag X Y DX DY: presses button 1 at window-relative (X, Y) and moves the pointer by
# (DX, DY) in STEPS small steps, leaving the button down.
press_and_drag() {
    local sx sy i
    read -r sx sy < <(window_point "$1" "$2")
    xdotool mousemove "$sx" "$sy" mousedown 1
    # A window manager follows the pointer only from the moment it takes it over, which on a busy
    # machine comes after the press by a little while: a person's hand is slower than that.
    if [[ "${5:-}" == settle ]]; then
        sleep 0.5 & wait $!
    fi
    for ((i = 1; i <= STEPS; i++)); do
        xdotool mousemove $((sx + $3 * i / STEPS)) $((sy + $4 * i / STEPS))
    done
}

# follows_to X Y W H: true when the window is there; otherwise wiggles the pointer one pixel
# and back, so that whoever moves the window sees the pointer's last position again even if it
# started listening after the steps went by (a window manager takes the pointer over only once
# the program has asked it to).
follows_to() {
    if geometry_is "$id" "$1 $2 $3 $4"; then
        return 0
    fi
    xdotool mousemove_relative 1 1 mousemove_relative -- -1 -1
    return 1
}

# close_picture_shows LEFT RIGHT WHAT: waits for the close picture's top corners.
close_picture_shows() {
    local point
    point="$(window_point $CLOSE_LEFT)"
    wait_pixel $point "$1" 5 "$3 (left corner)" || fail "the close picture does not show $3"
    point="$(window_point $CLOSE_RIGHT)"
    wait_pixel $point "$2" 5 "$3 (right corner)" || fail "the close picture does not show $3"
}

# press_close_release_off: presses the close picture, which shows it pressed, and releases the
# button away from it, which is no click: the picture comes back up and the window stays. The
# program paints the released picture only after it has handled the release (the very handler a
# click would close the window from) and, before it, every event sent earlier: this is also how
# the test knows the program has caught up.
press_close_release_off() {
    press_and_drag 10 10 0 110
    close_picture_shows "$CLOSE_DOWN_LEFT" "$CLOSE_DOWN_RIGHT" "its pressed picture while held"
    xdotool mouseup 1
    close_picture_shows "$CLOSE_UP_LEFT" "$CLOSE_UP_RIGHT" "its released picture after a release off it"
    still_running "$pid" || fail "releasing the button off the close picture ended the program"
    xwininfo -id "$id" | grep -q 'Map State: IsViewable' ||
        fail "releasing the button off the close picture hid the window"
}

# drag_title WHAT X Y: drags the window by (DX, DY) from window-relative (X, Y); the window must
# follow the pointer and keep its size.
drag_title() {
    local what="$1" x y w h
    read -r x y w h < <(window_geometry "$id")
    press_and_drag "$2" "$3" "$DX" "$DY" settle
    wait_for 5 "the window to follow the pointer" follows_to $((x + DX)) $((y + DY)) "$w" "$h" ||
        fail "dragging $what by $DX,$DY from $x,$y should put the window at $((x + DX)),$((y + DY)) sized ${w}x$h; it is at '$(window_geometry "$id")'"
    xdotool mouseup 1
    # After the release the window stays where it was left.
    xdotool mousemove_relative 15 10
    press_close_release_off
    assert_eq "$((x + DX)) $((y + DY)) $w $h" "$(window_geometry "$id")" \
        "window geometry after dragging $what, releasing and moving the pointer on"
    echo "ok: dragging $what moved the window from $x,$y to $((x + DX)),$((y + DY)), size kept"
}

drag_title "the title picture" 250 2

if [[ "$mode" == openbox ]]; then
    # openbox cancels a move of its own on Escape and puts the window back, which a move the
    # program makes by itself would not do: the proof that the program handed the move over.
    read -r x y w h < <(window_geometry "$id")
    press_and_drag 250 2 "$DX" "$DY" settle
    wait_for 5 "the window to follow the pointer" follows_to $((x + DX)) $((y + DY)) "$w" "$h" ||
        fail "dragging the title picture again did not move the window: '$(window_geometry "$id")'"
    xdotool key Escape
    wait_for 5 "openbox to put the window back" geometry_is "$id" "$x $y $w $h" ||
        fail "Escape during the drag left the window at '$(window_geometry "$id")', not back at $x $y: the window manager was not the one moving it"
    xdotool mouseup 1
    press_close_release_off
    assert_eq "$x $y $w $h" "$(window_geometry "$id")" "window geometry after a drag cancelled with Escape"
    echo "ok: the window manager moves the window (Escape put it back at $x,$y)"
fi

# The icon sits on the title but does not move the window. The press on the close picture after
# the drag makes sure the program has handled all of it before the position is read.
before="$(window_geometry "$id")"
press_and_drag 40 20 "$DX" "$DY"
xdotool mouseup 1
press_close_release_off
assert_eq "$before" "$(window_geometry "$id")" "window geometry after a drag from the icon"
echo "ok: a drag from the icon left the window at ${before% * *}"

drag_title "the title text" 250 10

press_close_release_off
echo "ok: a press on the close picture released off it kept the window"

# A click on the close picture ends the program, with status 0.
read -r sx sy < <(window_point 10 10)
xdotool mousemove "$sx" "$sy" click 1
wait_exit "$pid" 5 || fail "the program still runs 5 s after a click on the close picture"
assert_eq 0 "$EXIT_STATUS" "exit status after a click on the close picture"
echo "ok: a click on the close picture ended the program with status 0"
echo "PASS ($mode)"
