#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game as a new player meets it: installed, then started from a folder that holds no maze, as a
# desktop menu starts it in the home folder. "Ouvrir" must open in the installed sample folder, so
# that the bare name of a sample opens it; Ctrl+Q then ends the game from wherever the focus is.
#
# usage: samples_found.sh BUILD

# shellcheck source-path=SCRIPTDIR
set -euo pipefail
# shellcheck source=play_game.sh
source "$(dirname "${BASH_SOURCE[0]}")/play_game.sh"
build="$(realpath "${1:?usage: samples_found.sh BUILD}")"
need_x_tools
# Once in this shell, so that the temporary folder is made here and not in a subshell of its own.
scratch logs >/dev/null
logs="$(scratch logs)"
prefix="$(scratch prefix)"
cmake --install "$build" --prefix "$prefix" >"$logs/install.log" 2>&1 || fail "cmake --install into $prefix failed"
fresh_home
work="$(scratch work)"
start_xvfb
use_xcb
start_game "$work" "$prefix/bin/zirk"
open_maze exemple.dat
xdotool windowfocus --sync "$GAME_ID"
# The focus is on "Ouvrir", not on the key panel: only the window's own key can quit.
xdotool key ctrl+q
wait_exit "$GAME_PID" "$WAIT" || fail "the game still runs $WAIT s after Ctrl+Q"
assert_eq 0 "$EXIT_STATUS" "exit status after Ctrl+Q"
echo "ok: Ctrl+Q ended the game"
[[ -z "$(ls -A "$work")" ]] || fail "the working folder is no longer empty: $(ls -A "$work")"
echo "PASS"
