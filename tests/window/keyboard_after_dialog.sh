#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A maze chosen by typing its name and Return while the dialog's completion list is open leaves the
# game with the keyboard, the focus back on "Ouvrir", from which Shift+Tab reaches the key panel. The
# window system's part is a matter of timing, hence the rounds. usage: keyboard_after_dialog.sh ZIRK MAZES nowm|openbox
set -euo pipefail
# shellcheck source=play_game.sh
source "$(dirname "$0")/play_game.sh"
need_x_tools
fresh_home
start_xvfb
use_xcb
[[ "${3:?usage: keyboard_after_dialog.sh ZIRK MAZES nowm|openbox}" == nowm ]] || start_wm
start_game "$(realpath "$2")" "$(realpath "$1")"
for round in 1 2 3 4 5 6; do
    open_maze exemple.dat
    xdotool key shift+Tab
    # shellcheck disable=SC2086
    expect_window_colour $KEY_PANEL "$GREEN" "round $round: the key panel reached with Shift+Tab"
done
echo "PASS"
