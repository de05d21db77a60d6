#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Keyboard alone after the file dialog: a maze chosen by typing its name and pressing Return while
# the dialog's completion list is open must leave the game window with the keyboard, the focus
# back on "Ouvrir". Whether the window system gives it back is a matter of timing, so the game is
# played several times over. Nothing here hands the game window the keyboard once the dialog is gone.
#
# usage: keyboard_after_dialog.sh ZIRK MAZES nowm|openbox

# shellcheck source-path=SCRIPTDIR
# shellcheck disable=SC2046,SC2086
set -euo pipefail
# shellcheck source=play_game.sh
source "$(dirname "$0")/play_game.sh"
zirk="$(realpath "${1:?usage: keyboard_after_dialog.sh ZIRK MAZES nowm|openbox}")"
mazes="$(realpath "${2:?usage: keyboard_after_dialog.sh ZIRK MAZES nowm|openbox}")"
mode="${3:?usage: keyboard_after_dialog.sh ZIRK MAZES nowm|openbox}"
readonly ROUNDS="${ROUNDS:-6}"
[[ -x "$zirk" ]] || fail "no program at $zirk"
need_x_tools
fresh_home
start_xvfb
use_xcb
case "$mode" in
    nowm) ;;
    openbox) start_wm ;;
    *) fail "unknown mode '$mode': nowm or openbox" ;;
esac

start_game "$mazes" "$zirk"
for ((round = 1; round <= ROUNDS; round++)); do
    # The click on "Ouvrir" leaves the focus there; the dialog is given the keyboard as a window
    # manager would.
    open_dialog >/dev/null
    # One key at a time, so that the completion list is open when Return comes.
    xdotool type --delay 40 exemple.dat
    xdotool key Return
    wait_for "$WAIT" "the file dialog to close" window_gone "Ouvrir" ||
        fail "round $round: Return did not close the file dialog"
    expect_window_colour $PLAYER_CENTRE "$RED" "round $round: the player after the load"
    # From "Ouvrir", the first of the tab order, Shift+Tab goes round to the key panel.
    xdotool key shift+Tab
    expect_window_colour $KEY_PANEL "$GREEN" "round $round: the key panel reached with Shift+Tab after the dialog"
    # One step right: the wall to the player's left gives way to the start cell's floor.
    xdotool type 6
    expect_window_colour 100 211 "$OLIVE" "round $round: the step typed on the panel"
    echo "ok: round $round: the keyboard stayed with the game after the dialog"
done
# The dialog left with Escape gives the keyboard back just the same.
open_dialog >/dev/null
xdotool key Escape
wait_for "$WAIT" "the file dialog to close" window_gone "Ouvrir" || fail "Escape did not close the file dialog"
xdotool key shift+Tab
expect_window_colour $KEY_PANEL "$GREEN" "the key panel reached with Shift+Tab after Escape"
xdotool type q
wait_exit "$GAME_PID" "$WAIT" || fail "the game still runs $WAIT s after q"
echo "PASS"
