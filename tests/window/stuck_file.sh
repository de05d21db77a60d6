#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A maze file whose read never returns, given up with "Annuler": every way out of the game then ends it within
# two seconds and takes its window away, while the read still waits in the kernel. Without a window manager.
#
# usage: stuck_file.sh ZIRK STUCKFS   (skipped without STUCKFS, root or /dev/fuse)

# shellcheck source-path=SCRIPTDIR
# shellcheck disable=SC2086
set -euo pipefail
# shellcheck source=xvfb-session.sh
source "$(dirname "$0")/xvfb-session.sh"
zirk="$(realpath "${1:?usage: stuck_file.sh ZIRK STUCKFS}")"
stuckfs="${2:-}"
[[ -x "$zirk" ]] || fail "no program at $zirk"
skip() {
    echo "SKIP: $1"
    exit 77
}
[[ -n "$stuckfs" && -x "$stuckfs" ]] || skip "no stuckfs (libfuse3-dev was not found at build time)"
(($(id -u) == 0)) || skip "mounting a FUSE file system here needs root"
[[ -c /dev/fuse ]] || skip "no /dev/fuse"
command -v fusermount3 >/dev/null || skip "no fusermount3 (package fuse3)"
need_x_tools

readonly TITLE="Zirk pour Windows"
# Window-relative places: "Quitter", the close picture, the key panel.
readonly QUITTER="450 60" CLOSE="12 12" KEY_PANEL="432 352"

fresh_home
mnt="$(scratch mnt)"
"$stuckfs" "$mnt" >"$(scratch fs)/log" 2>&1 &
fs_pid=$!
# Ending the file system ends the waits on it; the mount goes after.
on_exit "fusermount3 -u -z '$mnt' 2>/dev/null"
on_exit "kill -KILL $fs_pid 2>/dev/null"
wait_for 10 "the stuck file system to mount" test -f "$mnt/stuck.dat" || fail "stuckfs did not mount"

GAME_PID="" GAME_ID="" WX=0 WY=0 READER=""

click_at() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 1; }
boxes() { xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | grep -vx "$GAME_ID"; }
one_box() { [[ "$(boxes | grep -c .)" == 1 ]]; }
no_box() { ! boxes >/dev/null; }
window_gone() { ! xwininfo -id "$GAME_ID" 2>/dev/null | grep -q 'Map State: IsViewable'; }
state() { local s; s="$(cat "/proc/$1/stat" 2>/dev/null)" || return 1; s="${s##*) }"; echo "${s%% *}"; }
reader_waits_in_kernel() { [[ "$(state "$READER")" == D ]]; }

# press_in_box KEY: the box that is up gets the keyboard (no window manager gives it) and KEY.
press_in_box() {
    local box
    box="$(boxes | head -1)"
    xdotool windowfocus --sync "$box"
    xdotool key "$1"
}

# give_up_a_stuck_read: the game starts on the stuck file; its waiting box comes up and "Annuler" (Escape)
# gives the read up; the box saying so is closed. The reader is left waiting in the kernel.
give_up_a_stuck_read() {
    (cd "$mnt" && exec "$zirk" stuck.dat) &
    GAME_PID=$!
    track_pid "$GAME_PID"
    GAME_ID="$(wait_window "$TITLE" 15 "$GAME_PID")" || fail "the game's window did not show"
    read -r WX WY _ _ < <(window_geometry "$GAME_ID")
    wait_for 10 "the waiting box" one_box || fail "no box offered to give the read up"
    READER="$(ps -o pid= --ppid "$GAME_PID" | tr -d ' ' | head -1 || true)"
    [[ -n "$READER" ]] || fail "the game started no reader"
    press_in_box Escape
    # The box that says the read was given up.
    wait_for 10 "the waiting box to go and the cancel box to come" one_box || fail "no box after Annuler"
    wait_for 5 "the reader to be stuck in the kernel" reader_waits_in_kernel ||
        fail "the reader $READER is in state $(state "$READER"), not waiting in the kernel"
    press_in_box Return
    wait_for 10 "the box to close" no_box || fail "the box about the cancelled read did not close"
}

leave() {
    case "$1" in
        Quitter) click_at $QUITTER ;;
        q)
            click_at $KEY_PANEL
            wait_pixel $((WX + 432)) $((WY + 352)) 0,255,0 10 "the key panel" || fail "the key panel took no focus"
            xdotool type q
            ;;
        close) click_at $CLOSE ;;
        SIGTERM | SIGINT | SIGHUP) kill -s "${1#SIG}" "$GAME_PID" ;;
        X) kill -KILL "$_XS_XVFB_PID" ;;
    esac
}

# The X server goes last: the others share one.
start_xvfb
use_xcb
for way in Quitter q close SIGTERM SIGINT SIGHUP X; do
    give_up_a_stuck_read
    start="$(_xs_now_ms)"
    leave "$way"
    wait_exit "$GAME_PID" 2 || fail "$way: the game still runs 2 s later (state $(state "$GAME_PID"))"
    took=$(($(_xs_now_ms) - start))
    if [[ "$way" != X ]]; then
        wait_for 2 "the window to go" window_gone || fail "$way: the window is still on screen"
    fi
    reader_waits_in_kernel || fail "$way: the read should still be waiting, the reader is in state $(state "$READER")"
    echo "ok: $way: the game ended in $took ms with status $EXIT_STATUS, its window went, the read still waits"
done
echo "PASS"
