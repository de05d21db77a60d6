#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game as a screen reader finds it, on a session bus and an accessibility bus of the test's own:
# the window's controls by role and name, the close-up said after a load, a step and a bump, and the
# close picture pressed from the accessibility interface, which ends the game.
#
# usage: screen_reader.sh ZIRK MAZES

set -euo pipefail
# shellcheck source=xvfb-session.sh
source "$(dirname "$0")/xvfb-session.sh"
zirk="$(realpath "${1:?usage: screen_reader.sh ZIRK MAZES}")"
mazes="$(realpath "${2:?usage: screen_reader.sh ZIRK MAZES}")"
readonly LAUNCHER=/usr/libexec/at-spi-bus-launcher
[[ -x "$zirk" ]] || fail "no program at $zirk"
need_x_tools
if ! command -v dbus-daemon >/dev/null || [[ ! -x "$LAUNCHER" ]] ||
    ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "SKIP: needs dbus, at-spi2-core and python3-pyatspi" >&2
    exit 77
fi
fresh_home
start_xvfb
use_xcb

address="$(scratch bus)/address"
dbus-daemon --session --nofork --print-address=3 3>"$address" 2>/dev/null &
track_pid $!
wait_for 10 "the session bus" test -s "$address" || fail "dbus-daemon did not start"
DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$address")"
export DBUS_SESSION_BUS_ADDRESS
"$LAUNCHER" --launch-immediately 2>/dev/null &
track_pid $!
bus_up() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; }
wait_for 10 "the accessibility bus" bus_up || fail "at-spi-bus-launcher did not start"

# As a desktop with a screen reader running tells Qt.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
(cd "$mazes" && exec "$zirk" exemple.dat) &
pid=$!
track_pid "$pid"
wait_window "Zirk pour Windows" 10 "$pid" >/dev/null || fail "the game's window did not show"
/usr/bin/python3 "$(dirname "$0")/screen_reader.py"
wait_exit "$pid" 10 || fail "the close picture pressed through the accessibility interface did not end the game"
echo "PASS"
