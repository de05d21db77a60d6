#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's picture of the game in play from a real window under Xvfb: the sample maze
# opened through the dialog and a few steps walked with the keys, the exit in sight.
#
# usage: tools/screenshot.sh ZIRK OUTPUT.png      (make screenshot does this for docs/screenshot.png)

# shellcheck disable=SC2046,SC2086
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../tests/window/play_game.sh
source "$here/../tests/window/play_game.sh"

zirk="$(realpath "${1:?usage: screenshot.sh ZIRK OUTPUT.png}")"
output="$(realpath -m "${2:?usage: screenshot.sh ZIRK OUTPUT.png}")"

need_x_tools
fresh_home
start_xvfb
use_xcb
start_game "$here/../mazes" "$zirk"
open_maze exemple.dat >/dev/null
focus_key_panel >/dev/null
xdotool type --delay 30 6622
expect_window_colour $RIGHT_CELL "$BLUE" "the exit one cell to the right"
# Away from the window, so that no tooltip or hover shows in the picture.
xdotool mousemove 1000 700
sleep 0.5 & wait $!

read -r x y w h < <(window_geometry "$GAME_ID")
shot="$(scratch shot)/screen.png"
screenshot "$shot"
# -strip and a fixed date keep the file the same from one run to the next.
"$_XS_CONVERT" "$shot" -crop "${w}x${h}+${x}+${y}" +repage -strip -define png:exclude-chunks=date,time "$output"
echo "wrote $output (${w}x$h)"
