#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A whole game played as a person would, without a window manager: "Ouvrir", the file dialog,
# the sample maze, the key panel, the walk to the exit, the message box, and "q".
#
# usage: play_game.sh ZIRK MAZES
#
# The steps are functions so that writes_nothing.sh can play the same game under watch.

# shellcheck source-path=SCRIPTDIR
# Screen points travel as one "X Y" word and are split on purpose where they are used.
# shellcheck disable=SC2046,SC2086
set -euo pipefail
# shellcheck source=xvfb-session.sh
source "$(dirname "${BASH_SOURCE[0]}")/xvfb-session.sh"

readonly TITLE="Zirk pour Windows"
readonly RED=255,0,0 GREEN=0,255,0 BLUE=0,0,255 OLIVE=200,200,0 BLACK=0,0,0

# Window-relative places.
readonly OUVRIR="382 60" KEY_PANEL="432 352"
readonly PLAYER_CENTRE="183 211"
# One cell to the right of the player, in the corridor the player starts in.
readonly RIGHT_CELL="246 211"

GAME_PID="" GAME_ID="" WX=0 WY=0
# Under strace everything is slower.
WAIT="${WAIT:-10}"

# at X Y: the screen point of the window-relative point (X, Y).
at() { echo "$((WX + $1)) $((WY + $2))"; }

# click_at X Y: a click at window-relative (X, Y). No --sync on mousemove: it waits for the
# pointer to move and so hangs for 15 s when the pointer is already there.
click_at() {
    local sx sy
    read -r sx sy < <(at "$1" "$2")
    xdotool mousemove "$sx" "$sy" click 1
}

# expect_window_colour X Y R,G,B WHAT: waits for the colour at window-relative (X, Y).
expect_window_colour() {
    wait_pixel $(at "$1" "$2") "$3" "$WAIT" "$4" || fail "$4: expected $3 at window pixel $1,$2"
}

window_gone() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# the_other_window: the visible window titled like the game's that is not the game's own.
the_other_window() {
    xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | grep -vx "$GAME_ID"
}

no_other_window() { ! the_other_window >/dev/null; }

# start_game FOLDER COMMAND...: starts the game in FOLDER as its working folder (COMMAND is the
# program, or a wrapper that runs it) and waits for its window.
start_game() {
    local folder="$1"
    shift
    (cd "$folder" && exec "$@") &
    GAME_PID=$!
    track_pid "$GAME_PID"
    GAME_ID="$(wait_window "$TITLE" $((WAIT + 5)) "$GAME_PID")" || fail "the game's window did not show"
    read -r WX WY _ _ < <(window_geometry "$GAME_ID")
    # The window is drawn once the key panel is.
    expect_window_colour $KEY_PANEL "$RED" "the key panel at start"
}

# open_dialog: clicks "Ouvrir" and prints the id of the file dialog that comes up.
open_dialog() {
    local dialog
    click_at $OUVRIR
    dialog="$(wait_window "Ouvrir" "$WAIT" "$GAME_PID")" || fail "'Ouvrir' brought up no window titled 'Ouvrir'"
    # Without a window manager nobody else gives the dialog the keyboard.
    xdotool windowfocus --sync "$dialog"
    echo "$dialog"
}

# cancel_dialog: opens the file dialog and leaves it with Escape; the view stays as it was.
cancel_dialog() {
    open_dialog >/dev/null
    xdotool key Escape
    wait_for "$WAIT" "the file dialog to close" window_gone "Ouvrir" || fail "Escape did not close the file dialog"
    still_running "$GAME_PID" || fail "the game ended when the file dialog was cancelled"
    expect_window_colour $PLAYER_CENTRE "$BLACK" "the view after a cancelled dialog"
    echo "ok: the file dialog opened and Escape closed it, nothing loaded"
}

# open_maze FILE: opens FILE (a name in the working folder) through the dialog; checks the view.
open_maze() {
    local dialog
    dialog="$(open_dialog)"
    xdotool type --delay 20 "$1"
    xdotool key Return
    wait_for "$WAIT" "the file dialog to close" window_gone "Ouvrir" ||
        fail "typing '$1' and Return did not close the file dialog"
    # The player: a red 7 x 7 square in the middle of the view, olive floor around it.
    expect_window_colour $PLAYER_CENTRE "$RED" "the player after opening $1"
    local shot point seen
    shot="$(scratch shots)/maze.png"
    screenshot "$shot"
    for point in "180 208" "186 208" "180 214" "186 214"; do
        seen="$(pixel "$shot" $(at $point))"
        [[ "$seen" == "$RED" ]] || fail "the player's square should cover window pixel $point, which is $seen"
    done
    for point in "179 211" "187 211" "183 207" "183 215" "$RIGHT_CELL"; do
        seen="$(pixel "$shot" $(at $point))"
        [[ "$seen" == "$OLIVE" ]] || fail "floor expected around the player at window pixel $point, found $seen"
    done
    # exemple.dat seen from column 2, row 2: walls above, to the left and below-left.
    for point in "12 40" "350 40" "183 100" "100 211" "12 380" "183 300"; do
        seen="$(pixel "$shot" $(at $point))"
        [[ "$seen" == "$GREEN" ]] || fail "a green wall expected at window pixel $point, found $seen"
    done
    echo "ok: $1 opened: red player, olive floor, green walls"
}

# focus_key_panel: clicks the key panel, which turns green. No window manager makes the window
# active on the click: the panel itself must ask for the keyboard, which typed keys then reach.
focus_key_panel() {
    click_at $KEY_PANEL
    expect_window_colour $KEY_PANEL "$GREEN" "the key panel once clicked, with no window manager"
    echo "ok: the key panel turned green"
}

# walk_to_exit: 6 6 2 2 on the panel brings the exit one cell to the right, 6 reaches it and the
# message box comes up. Prints the box's id.
walk_to_exit() {
    local box=""
    xdotool type --delay 30 6622
    expect_window_colour $RIGHT_CELL "$BLUE" "the exit one cell to the right after 6 6 2 2"
    expect_window_colour $PLAYER_CENTRE "$RED" "the player in the middle after 6 6 2 2"
    if the_other_window >/dev/null; then
        fail "a second window came up before the exit was reached"
    fi
    xdotool type 6
    wait_for "$WAIT" "a second window titled '$TITLE'" the_other_window >/dev/null ||
        fail "reaching the exit brought up no message box"
    box="$(the_other_window)"
    [[ "$(grep -c . <<<"$box")" == 1 ]] || fail "more than one message box: $box"
    echo "$box"
}

# check_box ID: the message box has the game's title, is modal for the game's window and is drawn.
check_box() {
    local box="$1" geometry bx by bw bh shot props colours seen r g b
    assert_eq "$TITLE" "$(xdotool getwindowname "$box")" "the message box's title"
    props="$(xprop -id "$box" WM_TRANSIENT_FOR _NET_WM_STATE)"
    grep -qi "window id # $(printf '0x%x' "$GAME_ID")\$" <<<"$props" ||
        fail "the message box is not transient for the game's window: $props"
    grep -q '_NET_WM_STATE_MODAL' <<<"$props" || fail "the message box is not modal: $props"
    geometry="$(window_geometry "$box")"
    read -r bx by bw bh <<<"$geometry"
    ((bw > 60 && bh > 30 && bw < 503 && bh < 393)) || fail "the message box has an odd size: $geometry"
    # Drawn: a light face with text and a button on it, so many colours, not one flat fill.
    shot="$(scratch shots)/box.png"
    screenshot "$shot"
    colours="$("$_XS_CONVERT" "$shot" -crop "${bw}x${bh}+${bx}+${by}" +repage -format '%k' info:)"
    ((colours > 10)) || fail "the message box shows $colours colours: it is not drawn"
    seen="$(pixel "$shot" $((bx + 3)) $((by + 3)))"
    IFS=, read -r r g b <<<"$seen"
    ((r > 180 && g > 180 && b > 180)) || fail "the message box's face at its corner is $seen, not a light colour"
    echo "ok: a modal message box over the game (${bw}x$bh), drawn"
}

close_box() {
    xdotool windowfocus --sync "$1"
    xdotool key Return
    wait_for "$WAIT" "the message box to close" no_other_window ||
        fail "Return did not close the message box"
    echo "ok: Return closed the message box"
}

# quit_with_q: q on the key panel ends the game at once with status 0.
quit_with_q() {
    still_running "$GAME_PID" || fail "the game ended before q was typed"
    xdotool windowfocus --sync "$GAME_ID"
    expect_window_colour $KEY_PANEL "$GREEN" "the key panel, still focused after the box"
    xdotool type q
    wait_exit "$GAME_PID" "$WAIT" || fail "the game still runs $WAIT s after q"
    assert_eq 0 "$EXIT_STATUS" "exit status after q"
    echo "ok: q ended the game with status 0"
}

play_exemple() {
    open_maze exemple.dat
    focus_key_panel
    local box
    box="$(walk_to_exit)"
    expect_window_colour $PLAYER_CENTRE "$RED" "the player on the exit"
    expect_window_colour 176 204 "$BLUE" "the exit around the player"
    check_box "$box"
    close_box "$box"
    quit_with_q
}

main() {
    local zirk mazes
    zirk="$(realpath "${1:?usage: play_game.sh ZIRK MAZES}")"
    mazes="$(realpath "${2:?usage: play_game.sh ZIRK MAZES}")"
    [[ -x "$zirk" ]] || fail "no program at $zirk"
    need_x_tools
    fresh_home
    start_xvfb
    use_xcb
    start_game "$mazes" "$zirk"
    play_exemple
    echo "PASS"
}

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    main "$@"
fi
