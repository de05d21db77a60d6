#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game on a Wayland desktop: a headless sway with no X server, played natively (first paint, title
# drag, buttons, keys on the panel, the file dialog, the exit box, q), and where the game starts on
# each kind of session. sway refuses to run as root: as root it runs as nobody, from folders of its own.
#
# usage: wayland_play.sh ZIRK MAZES POINTER

# shellcheck source-path=SCRIPTDIR
# Screen points travel as one "X Y" word and are split on purpose where they are used.
# jq's own variables stand in single quotes.
# shellcheck disable=SC2046,SC2086,SC2016
set -euo pipefail
# shellcheck source=../window/play_game.sh
source "$(dirname "$0")/../window/play_game.sh"
zirk="$(realpath "${1:?usage: wayland_play.sh ZIRK MAZES POINTER}")"
mazes="$(realpath "${2:?usage: wayland_play.sh ZIRK MAZES POINTER}")"
pointer="${3:-}"
skip() { echo "SKIP: $*" >&2; exit 77; }
for tool in sway swaymsg grim wtype jq setpriv strace; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
need_x_tools
[[ -n "$pointer" ]] || skip "the pointer client was not built (libwayland-dev, libwayland-bin)"
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-*.so" >/dev/null ||
    skip "Qt's Wayland plugin is not installed (qt6-wayland)"
readonly RIGHT_BUTTON="466 160"

fresh_home
out="$(scratch out)"

# ---------------------------------------------------------------- the compositor

# A folder nobody may enter for sway's home, runtime folder and working folder; mktemp's own is private.
sway_root="$(mktemp -d "${TMPDIR:-/tmp}/zirk-sway.XXXXXX")"
on_exit "rm -rf '$sway_root'"
chmod 755 "$sway_root"
mkdir -m 700 "$sway_root/runtime" "$sway_root/home"
cat >"$sway_root/config" <<'CONFIG'
xwayland disable
output HEADLESS-1 resolution 1024x768 position 0 0 bg #000000 solid_color
default_border none
default_floating_border none
focus_follows_mouse no
for_window [app_id="^zirk$"] floating enable
CONFIG
as_sway=()
if ((EUID == 0)); then
    chown nobody: "$sway_root/runtime" "$sway_root/home"
    as_sway=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
(cd "$sway_root/home" && exec env -i PATH="$PATH" HOME="$sway_root/home" XDG_RUNTIME_DIR="$sway_root/runtime" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    "${as_sway[@]}" sway -c "$sway_root/config") >"$out/sway.log" 2>&1 &
track_pid $!
socket_there() { compgen -G "$sway_root/runtime/wayland-[0-9]" >/dev/null && compgen -G "$sway_root/runtime/sway-ipc.*" >/dev/null; }
wait_for 15 "sway's sockets" socket_there || fail "sway did not start: $(tail -n 5 "$out/sway.log")"
socket="$(compgen -G "$sway_root/runtime/wayland-[0-9]")"
# The tools reach sway by its socket's path; the game, like any client, by its name in its own runtime folder.
export WAYLAND_DISPLAY="$socket" SWAYSOCK
SWAYSOCK="$(compgen -G "$sway_root/runtime/sway-ipc.*")"
readonly NAME="${socket##*/}"
ln -s "$socket" "$XDG_RUNTIME_DIR/$NAME"
unset DISPLAY QT_QPA_PLATFORM XDG_SESSION_TYPE
# One keyboard and one pointer for the whole test. A device that comes and goes makes the seat lose and
# regain the capability, and the game misses the first events while it binds the device again.
wtype -s 3600000 &
track_pid $!
coproc POINTER { exec "$pointer"; }
track_pid "$POINTER_PID"
# point STEP...: moves, presses and releases, delivered before it returns.
point() {
    local answer
    echo "$*" >&"${POINTER[1]}"
    read -r answer <&"${POINTER[0]}" || answer=""
    [[ "$answer" == ok ]] || fail "the pointer client failed on: $*"
}
# The screen as it was at the end, for a look after a failure (XS_KEEP_TMP=1).
on_exit "grim '$out/last.png' 2>/dev/null"

# sway_windows JQ: JQ run on the list of sway's windows, the game's title in $t.
sway_windows() {
    swaymsg -t get_tree | jq -er --arg t "$TITLE" "[recurse(.nodes[]?, .floating_nodes[]?)] | $1"
}
# window_rect: "X Y W H" of the game's window as sway shows it; fails unless there is exactly one.
window_rect() {
    sway_windows 'map(select(.name == $t and .app_id == "zirk") | .rect)
        | if length == 1 then .[0] | "\(.x) \(.y) \(.width) \(.height)" else false end'
}
# windows_are COUNT CONDITION: whether COUNT of sway's windows meet the jq CONDITION.
windows_are() { [[ "$(sway_windows "map(select($2)) | length")" == "$1" ]]; }
readonly GAME_WINDOW='.name == $t and .app_id == "zirk"'

# ---------------------------------------------------------------- where the game starts

# starts_on_wayland WHAT [VAR=VALUE...]: on a Wayland session (the compositor's name in the runtime folder),
# with the given changes, the window shows on sway and nothing is written under TMPDIR.
starts_on_wayland() {
    local what="$1" pid tmp
    shift
    tmp="$(scratch "tmp-${#what}-$RANDOM")"
    (cd "$mazes" && exec env TMPDIR="$tmp" WAYLAND_DISPLAY="$NAME" "$@" strace -f -qq -e trace=connect \
        -o "$out/connect.txt" "$zirk") 2>"$out/err.txt" &
    pid=$!
    track_pid "$pid"
    wait_for "$WAIT" "the window on sway" window_rect >/dev/null ||
        fail "$what: no window on sway ($(cat "$out/err.txt"))"
    ! grep -q 'X11-unix' "$out/connect.txt" || fail "$what: the game woke the X server: $(grep X11-unix "$out/connect.txt")"
    [[ -z "$(ls -A "$tmp")" ]] || fail "$what: the game wrote under TMPDIR: $(ls -A "$tmp")"
    # The game is strace's child; strace ends with it.
    kill $(pgrep -P "$pid")
    wait_exit "$pid" 5 || fail "$what: the game did not end on TERM"
    wait_for 5 "the window to go" windows_are 0 "$GAME_WINDOW" || fail "$what: the window stayed"
    echo "ok: $what: native Wayland window"
}

# An X desktop beside it, with a window manager so that its window is active as sway's is.
start_xvfb 24
start_wm
x_display="$DISPLAY"
unset DISPLAY
starts_on_wayland "a Wayland session whose X server answers, never woken" DISPLAY="$x_display"
starts_on_wayland "a Wayland session whose DISPLAY is dead" DISPLAY=:4711
starts_on_wayland "a runtime folder given through a link" \
    XDG_RUNTIME_DIR="$(ln -s "$XDG_RUNTIME_DIR" "$FRESH_ROOT/runtime-link" && echo "$FRESH_ROOT/runtime-link")"

# Wayland asked for, its socket missing: exit status 1, one line on stderr, nothing left, no core file.
work="$(scratch work)"
status=0
(cd "$work" && ulimit -c unlimited && exec env QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-none timeout 20 \
    "$zirk") >"$out/out.txt" 2>"$out/err.txt" || status=$?
assert_eq "1 1" "$status $(wc -l <"$out/err.txt")" "status and lines on stderr without a compositor ($(cat "$out/err.txt"))"
[[ -z "$(ls -A "$work")" ]] || fail "left behind without a compositor: $(ls -A "$work")"
echo "ok: Wayland asked for, its socket missing: status 1: $(cat "$out/err.txt")"

# Without Wayland the fallback list goes on to X; its first paint is the one Wayland's must match.
export DISPLAY="$x_display"
start_game "$mazes" env -u WAYLAND_DISPLAY QT_QPA_PLATFORM="wayland;xcb" "$zirk"
read -r _ _ width height < <(window_geometry "$GAME_ID")
# shellcheck disable=SC2218 # the X screenshot, until sway's takes its place below
screenshot "$out/x.png"
"$_XS_CONVERT" "$out/x.png" -crop "${width}x$height+$WX+$WY" +repage "$out/x-first.png"
kill "$GAME_PID"
wait_exit "$GAME_PID" 5 || true
unset DISPLAY
echo "ok: 'wayland;xcb' without Wayland: X window"

# ---------------------------------------------------------------- a game on Wayland alone

# From here the screen is sway's, and the pointer is drawn into it: it leaves the window once it has clicked.
screenshot() { grim "$1"; }
click_at() { point move $(at "$1" "$2") press release move 1020 760; }

(cd "$mazes" && exec env XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$NAME" "$zirk") 2>"$out/game-err.txt" &
game=$!
track_pid "$game"
wait_for "$WAIT" "the game's window" window_rect >/dev/null || fail "no game window on sway"
read -r WX WY width height < <(window_rect)
assert_eq "503 393" "$width $height" "the window's size"
expect_window_colour $KEY_PANEL "$RED" "the key panel at start"
grim -g "$WX,$WY ${width}x$height" "$out/first.png"
assert_eq 0 "$(differing_pixels "$out/x-first.png" "$out/first.png")" "pixels unlike the first paint on X11"
echo "ok: first paint at $WX,$WY, as on X11"

point move $(at 250 10) wait 300 press wait 1000 move $(at 290 40) wait 200 move $(at 310 70) wait 500 release move 1020 760
WX=$((WX + 60)) WY=$((WY + 60))
wait_for "$WAIT" "the window to follow the title drag" windows_are 1 "$GAME_WINDOW and .rect.x == $WX and .rect.y == $WY" ||
    fail "the title drag left the window at $(window_rect), not $WX $WY"
echo "ok: the title drag moved the window to $WX,$WY"

click_at $OUVRIR
wait_for "$WAIT" "the file dialog" windows_are 1 '.name == "Ouvrir" and .focused' ||
    fail "'Ouvrir' brought up no dialog with the keyboard"
wtype -d 20 exemple.dat -k Return
wait_for "$WAIT" "the dialog to close" windows_are 0 '.name == "Ouvrir"' || fail "the dialog stayed"
expect_window_colour $PLAYER_CENTRE "$RED" "the player once exemple.dat is open"
click_at $RIGHT_BUTTON
click_at $KEY_PANEL
expect_window_colour $KEY_PANEL "$GREEN" "the key panel once clicked"
wtype -d 30 622
expect_window_colour $RIGHT_CELL "$BLUE" "the exit one cell to the right after the button 6 and the keys 6 2 2"
wtype 6
wait_for "$WAIT" "the exit box" windows_are 2 '.name == $t' || fail "reaching the exit brought up no box"
wtype -k Return
wait_for "$WAIT" "the box to close" windows_are 1 '.name == $t' || fail "Return did not close the box"
expect_window_colour $KEY_PANEL "$GREEN" "the key panel, still focused after the box"
wtype q
wait_exit "$game" "$WAIT" || fail "the game still runs after q"
assert_eq 0 "$EXIT_STATUS" "exit status after q"
[[ ! -s "$out/game-err.txt" ]] || fail "the game printed: $(cat "$out/game-err.txt")"
echo "ok: buttons, file dialog, keys on the panel, the exit box and q, natively on Wayland"
echo PASS
