#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A maze whose read never returns, given up with "Annuler": each way out then ends the game within two seconds
# and takes its window away, while the reader still waits in the kernel. No window manager.
# usage: stuck_file.sh ZIRK STUCKFS (skipped without root or /dev/fuse)

# shellcheck source-path=SCRIPTDIR
# shellcheck disable=SC2086
set -euo pipefail
# shellcheck source=play_game.sh
source "$(dirname "$0")/play_game.sh"
zirk="$(realpath "$1")" stuckfs="$2"
if (($(id -u) != 0)) || [[ ! -c /dev/fuse ]]; then
    echo "SKIP: a FUSE mount needs root and /dev/fuse"
    exit 77
fi
need_x_tools
fresh_home
mnt="$(scratch mnt)"
"$stuckfs" "$mnt" 2>/dev/null &
# Ending the file system ends the waits on it.
on_exit "fusermount3 -u -z '$mnt' 2>/dev/null"
on_exit "kill -KILL $! 2>/dev/null"
wait_for 10 "the mount" test -f "$mnt/stuck.dat" || fail "stuckfs did not mount"

one_box() { [[ "$(the_other_window | grep -c .)" == 1 ]]; }
press_in_box() { xdotool windowfocus --sync "$(the_other_window | head -1)" key "$1"; }
unmapped() { ! xwininfo -id "$GAME_ID" 2>/dev/null | grep -q IsViewable; }
in_kernel() { [[ "$(awk '{print $3}' "/proc/$READER/stat" 2>/dev/null)" == D ]]; }

start_xvfb
use_xcb
# The X server goes last: the others share it.
for way in Quitter q close SIGTERM SIGINT SIGHUP X; do
    start_game "$mnt" "$zirk" stuck.dat
    wait_for 10 "the waiting box" one_box || fail "no box offered to give the read up"
    READER="$(ps -o pid= --ppid "$GAME_PID" | tr -d ' ' | head -1 || true)"
    [[ -n "$READER" ]] || fail "the game started no reader"
    press_in_box Escape # "Annuler"
    wait_for 10 "the box saying the read was given up" one_box || fail "no box after Annuler"
    in_kernel || fail "the reader is not waiting in the kernel"
    press_in_box Return
    wait_for 10 "the box to close" no_other_window || fail "the box did not close"
    start="$(_xs_now_ms)"
    case "$way" in
        Quitter) click_at 450 60 ;;
        q) click_at $KEY_PANEL && expect_window_colour $KEY_PANEL "$GREEN" "the key panel" && xdotool type q ;;
        close) click_at 12 12 ;;
        X) kill -KILL "$_XS_XVFB_PID" ;;
        *) kill -s "${way#SIG}" "$GAME_PID" ;;
    esac
    wait_exit "$GAME_PID" 2 || fail "$way: the game still runs 2 s later"
    [[ "$way" == X ]] || wait_for 2 "the window to go" unmapped || fail "$way: the window is still on screen"
    in_kernel || fail "$way: the reader no longer waits"
    echo "ok: $way: ended in $(($(_xs_now_ms) - start)) ms, status $EXIT_STATUS, the reader still waits"
done
echo "PASS"
