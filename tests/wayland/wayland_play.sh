#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game on a Wayland desktop: a headless sway with no X server, played natively (first paint, title
# drag, buttons, keys on the panel, the file dialog, the exit box, q), and where the game starts on
# each kind of session. sway refuses to run as root: as root it runs as nobody, from folders of its own.
#
# usage: wayland_play.sh ZIRK MAZES POINTER

# shellcheck source-path=SCRIPTDIR
# Screen points travel as one "X Y" word and are split on purpose where they are used.
# shellcheck disable=SC2046,SC2086
set -euo pipefail
# shellcheck source=../window/xvfb-session.sh
source "$(dirname "$0")/../window/xvfb-session.sh"
zirk="$(realpath "${1:?usage: wayland_play.sh ZIRK MAZES POINTER}")"
mazes="$(realpath "${2:?usage: wayland_play.sh ZIRK MAZES POINTER}")"
pointer="${3:-}"
for tool in sway swaymsg grim wtype jq setpriv strace Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
[[ -n "$pointer" ]] || { echo "SKIP: the pointer client was not built (libwayland-dev, libwayland-bin)" >&2; exit 77; }
[[ -n "$(find /usr/lib/*/qt6/plugins/platforms -name 'libqwayland-*.so' 2>/dev/null)" ]] ||
    { echo "SKIP: Qt's Wayland plugin is not installed (qt6-wayland)" >&2; exit 77; }

readonly TITLE="Zirk pour Windows"
readonly RED=255,0,0 GREEN=0,255,0 BLUE=0,0,255
readonly OUVRIR="382 60" KEY_PANEL="432 352" RIGHT_BUTTON="466 160" PLAYER_CENTRE="183 211" RIGHT_CELL="246 211"
WAIT=10

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

# window_rect: "X Y W H" of the game's window as sway shows it; fails unless there is exactly one.
window_rect() {
    swaymsg -t get_tree | jq -er --arg t "$TITLE" \
        '[recurse(.nodes[]?, .floating_nodes[]?) | select(.name == $t and .app_id == "zirk") | .rect]
         | if length == 1 then .[0] | "\(.x) \(.y) \(.width) \(.height)" else false end'
}
no_window() { ! window_rect >/dev/null; }
# focused TITLE: whether the window with that title has the keyboard.
focused() { [[ "$(swaymsg -t get_tree | jq --arg t "$1" '[recurse(.nodes[]?, .floating_nodes[]?) | select(.name == $t and .focused)] | length')" == 1 ]]; }
# windows_named TITLE COUNT: whether sway shows COUNT windows with that title.
windows_named() {
    [[ "$(swaymsg -t get_tree | jq --arg t "$1" '[recurse(.nodes[]?, .floating_nodes[]?) | select(.name == $t)] | length')" == "$2" ]]
}
# window_at X Y: whether the game's window stands at X, Y.
window_at() { [[ "$(window_rect | cut -d' ' -f1,2)" == "$1 $2" ]]; }

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
    wait_for 5 "the window to go" no_window || fail "$what: the window stayed"
    echo "ok: $what: native Wayland window"
}

# refuses_to_start WHAT [VAR=VALUE...]: exit status 1, one line on stderr, nothing left, no core file.
refuses_to_start() {
    local what="$1" status=0 work
    shift
    work="$(scratch "work-${#what}-$RANDOM")"
    (cd "$work" && ulimit -c unlimited && exec env "$@" timeout 20 "$zirk") >"$out/out.txt" 2>"$out/err.txt" ||
        status=$?
    assert_eq 1 "$status" "$what: exit status ($(cat "$out/err.txt"))"
    assert_eq 1 "$(wc -l <"$out/err.txt")" "$what: lines on stderr ($(cat "$out/err.txt"))"
    [[ -z "$(ls -A "$work")" ]] || fail "$what: left behind: $(ls -A "$work")"
    echo "ok: $what: status 1: $(cat "$out/err.txt")"
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
refuses_to_start "Wayland asked for, its socket missing" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-none

# Without Wayland the fallback list goes on to X; its first paint is the one Wayland's must match.
(cd "$mazes" && exec env -u WAYLAND_DISPLAY DISPLAY="$x_display" QT_QPA_PLATFORM="wayland;xcb" "$zirk") \
    2>"$out/err.txt" &
pid=$!
track_pid "$pid"
export DISPLAY="$x_display"
id="$(wait_window "$TITLE" "$WAIT" "$pid")" || fail "'wayland;xcb' without Wayland: no X window ($(cat "$out/err.txt"))"
read -r x y w h < <(window_geometry "$id")
wait_pixel $((x + ${KEY_PANEL% *})) $((y + ${KEY_PANEL#* })) "$RED" "$WAIT" "the key panel on X" || fail "no first paint on X"
screenshot "$out/x.png"
"$_XS_CONVERT" "$out/x.png" -crop "${w}x$h+$x+$y" +repage "$out/x-first.png"
kill "$pid"
wait_exit "$pid" 5 || true
unset DISPLAY
echo "ok: 'wayland;xcb' without Wayland: X window"

# ---------------------------------------------------------------- a game on Wayland alone

WX=0 WY=0
at() { echo "$((WX + $1)) $((WY + $2))"; }
# The pointer is drawn into the screen: it leaves the window once it has clicked.
click_at() { point move $(at "$1" "$2") press release move 1020 760; }
window_pixel() { grim -t ppm "$out/screen.ppm" && [[ "$(pixel "$out/screen.ppm" $(at "$1" "$2"))" == "$3" ]]; }
expect_colour() { wait_for "$WAIT" "$4" window_pixel "$1" "$2" "$3" || fail "$4: expected $3 at window pixel $1,$2"; }
placed() { read -r WX WY _ _ < <(window_rect); }

(cd "$mazes" && exec env XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$NAME" "$zirk") 2>"$out/game-err.txt" &
game=$!
track_pid "$game"
wait_for "$WAIT" "the game's window" window_rect >/dev/null || fail "no game window on sway"
read -r WX WY width height < <(window_rect)
assert_eq "503 393" "$width $height" "the window's size"
expect_colour $KEY_PANEL "$RED" "the key panel at start"
grim -g "$WX,$WY ${width}x$height" "$out/first.png"
assert_eq 0 "$(differing_pixels "$out/x-first.png" "$out/first.png")" "pixels unlike the first paint on X11"
echo "ok: first paint at $WX,$WY, as on X11"

point move $(at 250 10) wait 300 press wait 1000 move $(at 290 40) wait 200 move $(at 310 70) wait 500 release move 1020 760
expected="$((WX + 60)) $((WY + 60))"
wait_for "$WAIT" "the window to follow the title drag" window_at $expected ||
    fail "the title drag left the window at $(window_rect), not $expected"
placed
echo "ok: the title drag moved the window to $WX,$WY"

click_at $OUVRIR
wait_for "$WAIT" "the file dialog" focused Ouvrir || fail "'Ouvrir' brought up no dialog with the keyboard"
wtype -d 20 exemple.dat -k Return
wait_for "$WAIT" "the dialog to close" windows_named Ouvrir 0 || fail "the dialog stayed"
expect_colour $PLAYER_CENTRE "$RED" "the player once exemple.dat is open"
click_at $RIGHT_BUTTON
click_at $KEY_PANEL
expect_colour $KEY_PANEL "$GREEN" "the key panel once clicked"
wtype -d 30 622
expect_colour $RIGHT_CELL "$BLUE" "the exit one cell to the right after the button 6 and the keys 6 2 2"
wtype 6
wait_for "$WAIT" "the exit box" windows_named "$TITLE" 2 || fail "reaching the exit brought up no box"
wtype -k Return
wait_for "$WAIT" "the box to close" windows_named "$TITLE" 1 || fail "Return did not close the box"
expect_colour $KEY_PANEL "$GREEN" "the key panel, still focused after the box"
wtype q
wait_exit "$game" "$WAIT" || fail "the game still runs after q"
assert_eq 0 "$EXIT_STATUS" "exit status after q"
[[ ! -s "$out/game-err.txt" ]] || fail "the game printed: $(cat "$out/game-err.txt")"
echo "ok: buttons, file dialog, keys on the panel, the exit box and q, natively on Wayland"
echo PASS
