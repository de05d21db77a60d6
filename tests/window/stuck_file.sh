#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A maze whose read never returns, given up with "Annuler": each way out then ends the game within two seconds
# and takes its window away, while the reader still waits in the kernel. No window manager.
# usage: stuck_file.sh ZIRK STUCKFS (skipped without root or /dev/fuse)

# shellcheck source-path=SCRIPTDIR
# shellcheck disable=SC2086
set -euo pipefail
# shellcheck source=xvfb-session.sh
source "$(dirname "$0")/xvfb-session.sh"
zirk="$(realpath "$1")" stuckfs="$2"
if (($(id -u) != 0)) || [[ ! -c /dev/fuse ]]; then
    echo "SKIP: a FUSE mount needs root and /dev/fuse"
    exit 77
fi
need_x_tools
readonly TITLE="Zirk pour Windows"
fresh_home
mnt="$(scratch mnt)"
"$stuckfs" "$mnt" 2>/dev/null &
# Ending the file system ends the waits on it.
on_exit "fusermount3 -u -z '$mnt' 2>/dev/null"
on_exit "kill -KILL $! 2>/dev/null"
wait_for 10 "the mount" test -f "$mnt/stuck.dat" || fail "stuckfs did not mount"

boxes() { xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | grep -vx "$GAME_ID"; }
one_box() { [[ "$(boxes | grep -c .)" == 1 ]]; }
no_box() { ! boxes >/dev/null; }
press_in_box() { xdotool windowfocus --sync "$(boxes | head -1)" key "$1"; }
click_at() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 1; }
unmapped() { ! xwininfo -id "$GAME_ID" 2>/dev/null | grep -q IsViewable; }
in_kernel() { [[ "$(awk '{print $3}' "/proc/$READER/stat" 2>/dev/null)" == D ]]; }

start_xvfb
use_xcb
# The X server goes last: the others share it.
for way in Quitter q close SIGTERM SIGINT SIGHUP X; do
    (cd "$mnt" && exec "$zirk" stuck.dat) &
    GAME_PID=$!
    track_pid "$GAME_PID"
    GAME_ID="$(wait_window "$TITLE" 15 "$GAME_PID")" || fail "the game's window did not show"
    read -r WX WY _ _ < <(window_geometry "$GAME_ID")
    wait_for 10 "the waiting box" one_box || fail "no box offered to give the read up"
    READER="$(ps -o pid= --ppid "$GAME_PID" | tr -d ' ' | head -1 || true)"
    [[ -n "$READER" ]] || fail "the game started no reader"
    press_in_box Escape # "Annuler"
    wait_for 10 "the box saying the read was given up" one_box || fail "no box after Annuler"
    in_kernel || fail "the reader is not waiting in the kernel"
    press_in_box Return
    wait_for 10 "the box to close" no_box || fail "the box did not close"
    start="$(_xs_now_ms)"
    case "$way" in
        Quitter) click_at 450 60 ;;
        q) click_at 432 352 && wait_pixel $((WX + 432)) $((WY + 352)) 0,255,0 10 "the key panel" && xdotool type q ;;
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
