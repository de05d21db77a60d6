#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window as it first appears on a 1024 x 768 screen without a window manager, what happens to
# its frame when the window system resizes it, and the refusal to start without a display.
#
# usage: start_window.sh ZIRK MAZES

# shellcheck source-path=SCRIPTDIR
# Screen points travel as one "X Y" word and are split on purpose where they are used.
# shellcheck disable=SC2046,SC2086
set -euo pipefail
# shellcheck source=xvfb-session.sh
source "$(dirname "$0")/xvfb-session.sh"
zirk="$(realpath "${1:?usage: start_window.sh ZIRK MAZES}")"
mazes="$(realpath "${2:?usage: start_window.sh ZIRK MAZES}")"
[[ -x "$zirk" ]] || fail "no program at $zirk"
need_x_tools

readonly TITLE="Zirk pour Windows"
readonly WHITE=255,255,255 GREY=128,128,128 BLACK=0,0,0 RED=255,0,0

fresh_home
work="$(scratch work)"
out="$(scratch out)"

# ---------------------------------------------------------------- no display

# refuses_to_start WHAT [VAR=VALUE...]: the program, started with DISPLAY, WAYLAND_DISPLAY and
# QT_QPA_PLATFORM unset but for the given ones, exits 1 at once with one line on stderr and leaves
# nothing behind, not even a core file. It runs in an empty folder so that anything left would show.
refuses_to_start() {
    local what="$1" status=0 lines left
    shift
    (
        cd "$work"
        ulimit -c unlimited
        unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
        exec env "$@" timeout 20 "$zirk"
    ) >"$out/out.txt" 2>"$out/err.txt" || status=$?
    ((status != 124)) || fail "$what: the program still ran after 20 s instead of giving up"
    assert_eq 1 "$status" "$what: exit status ($(cat "$out/err.txt"))"
    lines="$(wc -l <"$out/err.txt")"
    [[ "$lines" == 1 && -n "$(tr -d '[:space:]' <"$out/err.txt")" ]] ||
        fail "$what: the program should print one line on stderr, printed $lines: $(cat "$out/err.txt")"
    [[ ! -s "$out/out.txt" ]] || fail "$what: the program printed on stdout: $(cat "$out/out.txt")"
    left="$(find "$work" -mindepth 1; find "$FRESH_ROOT" -mindepth 2)"
    [[ -z "$left" ]] || fail "$what: the program left files behind: $left"
    echo "ok: $what: exit status 1, stderr: $(cat "$out/err.txt")"
}

refuses_to_start "without a display"
refuses_to_start "without a display, X11 asked for" QT_QPA_PLATFORM=xcb
refuses_to_start "a display with no server" DISPLAY=:4711
refuses_to_start "a display that means nothing" DISPLAY=garbage
refuses_to_start "a platform plugin that is not installed" QT_QPA_PLATFORM=nosuchplatform
start_xvfb 8 || fail "Xvfb did not start at 8 bits per pixel"
refuses_to_start "an X screen of 8 bits per pixel" DISPLAY="$DISPLAY"

# ---------------------------------------------------------------- the first window

start_xvfb
use_xcb
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
assert_eq "1024 768" "$screen_w $screen_h" "screen size"

cd "$mazes"
"$zirk" & pid=$!
track_pid "$pid"

id="$(wait_window "$TITLE" 15 "$pid")" || fail "no single visible window titled '$TITLE' appeared"
assert_eq "$TITLE" "$(xdotool getwindowname "$id")" "window title, letter case included"

# Every viewable child of the root is a window the program shows (no window manager runs).
viewable=()
while read -r child; do
    if xwininfo -id "$child" 2>/dev/null | grep -q 'Map State: IsViewable'; then
        viewable+=("$child")
    fi
done < <(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p')
((${#viewable[@]} == 1)) || fail "expected one visible window, found ${#viewable[@]}: ${viewable[*]}"

# Centred: (1024 - 503) / 2 and (768 - 393) / 2, rounded down.
wait_for 5 "the window at 260,187 sized 503x393" geometry_is "$id" "260 187 503 393" ||
    fail "window geometry (x y w h): expected '260 187 503 393', got '$(window_geometry "$id")'"
echo "ok: one window '$TITLE', 503x393 at 260,187"

read -r wx wy _ _ < <(window_geometry "$id")

# at X Y: the screen point of the window-relative point (X, Y).
at() { echo "$((wx + $1)) $((wy + $2))"; }

# colour_at SHOT X Y: the colour at window-relative (X, Y) in a screenshot.
colour_at() {
    local sx sy
    read -r sx sy < <(at "$2" "$3")
    pixel "$1" "$sx" "$sy"
}

# expect_colour SHOT X Y R,G,B WHAT
expect_colour() {
    local seen
    seen="$(colour_at "$1" "$2" "$3")"
    [[ "$seen" == "$4" ]] || fail "$5: window pixel $2,$3 is $seen, expected $4"
}

# The key panel is the last thing painted that matters here; once it is red the window is drawn.
wait_pixel $(at 432 352) "$RED" 10 "the red key panel" || fail "the key panel never showed red"
shot1="$out/start.png"
screenshot "$shot1"

# check_frame SHOT W H: the white top and left lines and the grey right and bottom lines of a
# W x H window, a few points along each.
check_frame() {
    local shot="$1" w="$2" h="$3" x y
    for x in 0 1 $((w / 4)) $((w / 2)) $((w - 50)) $((w - 2)); do
        expect_colour "$shot" "$x" 0 "$WHITE" "top line (window ${w}x$h)"
    done
    for y in 1 2 $((h / 3)) $((h / 2)) $((h - 20)) $((h - 2)); do
        expect_colour "$shot" 0 "$y" "$WHITE" "left line (window ${w}x$h)"
    done
    for y in 0 1 $((h / 3)) $((h / 2)) $((h - 20)) $((h - 2)) $((h - 1)); do
        expect_colour "$shot" $((w - 1)) "$y" "$GREY" "right line (window ${w}x$h)"
    done
    for x in 0 1 $((w / 4)) $((w / 2)) $((w - 50)) $((w - 2)); do
        expect_colour "$shot" "$x" $((h - 1)) "$GREY" "bottom line (window ${w}x$h)"
    done
}

check_frame "$shot1" 503 393
echo "ok: white top and left lines, grey right and bottom lines"

# The maze view is black before a maze is opened, corners and centre alike.
for point in "8 36" "183 211" "357 385" "357 36" "8 385"; do
    expect_colour "$shot1" $point "$BLACK" "maze view before any maze"
done
for point in "380 340" "432 352" "490 370"; do
    expect_colour "$shot1" $point "$RED" "key panel without the keyboard focus"
done
# The title picture: a light blue-grey, lighter towards the right, for the black title to read on
# (tst_pictures holds every pixel of it to a contrast of 4.5:1).
previous=0
for x in 2 100 250 400 490; do
    IFS=, read -r r g b < <(colour_at "$shot1" "$x" 2)
    ((b > r && b > g && r >= 150)) || fail "title picture at $x,2 should be a light blue-grey, is $r,$g,$b"
    ((r + g + b > previous)) || fail "title picture at $x,2 ($r,$g,$b) is not lighter than to its left"
    previous=$((r + g + b))
done
echo "ok: black view, red key panel, light blue-grey title"

# ---------------------------------------------------------------- resized by the window system

# Parts of the window that belong to the game and must look the same, at the same place, at any
# window size: name X Y W H (window-relative). Button edges are left out: they show the
# background, which stretches with the window.
readonly -a KEPT=(
    "view 8 36 350 350"
    "Quitter 407 43 87 35"
    "Ouvrir 363 43 39 35"
    "key-panel 371 331 123 43"
)

# crop SHOT NAME X Y W H: cuts a window-relative area out of SHOT into SHOT-NAME.png.
crop() {
    local sx sy
    read -r sx sy < <(at "$3" "$4")
    "$_XS_CONVERT" "$1" -crop "${5}x${6}+${sx}+${sy}" +repage "${1%.png}-$2.png"
}

for part in "${KEPT[@]}"; do
    crop "$shot1" $part
done

xdotool windowsize "$id" 700 500
wait_for 5 "the window to be 700x500 at 260,187" geometry_is "$id" "260 187 700 500" ||
    fail "after windowsize 700 500 the window is '$(window_geometry "$id")', expected '260 187 700 500'"
wait_pixel $(at 699 250) "$GREY" 5 "the right grey line at x=699" ||
    fail "the right grey line did not follow the window's new width"
wait_pixel $(at 350 499) "$GREY" 5 "the bottom grey line at y=499" ||
    fail "the bottom grey line did not follow the window's new height"
shot2="$out/resized.png"
screenshot "$shot2"

check_frame "$shot2" 700 500
# Where the lines were is now inside the window.
for point in "502 200" "250 392"; do
    seen="$(colour_at "$shot2" $point)"
    [[ "$seen" != "$GREY" ]] || fail "window pixel $point is still grey after the resize: an old line was left"
done
echo "ok: after the resize the grey lines are at x=699 and y=499, the white ones at 0"

for part in "${KEPT[@]}"; do
    read -r name _ <<<"$part"
    crop "$shot2" $part
    diff="$(differing_pixels "${shot1%.png}-$name.png" "${shot2%.png}-$name.png")" ||
        fail "could not compare the $name before and after the resize"
    ((diff == 0)) || fail "the $name changed when the window was resized ($diff pixels differ)"
done
echo "ok: the view, the buttons and the key panel did not move or change"

still_running "$pid" || fail "the program ended during the test"
echo "PASS"
