#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game on a session bus and an accessibility bus of its own, read by screen_reader.py, which
# ends it with the close picture pressed from the accessibility interface. usage: screen_reader.sh ZIRK MAZES
set -euo pipefail
# shellcheck source=xvfb-session.sh
source "$(dirname "$0")/xvfb-session.sh"
readonly LAUNCHER=/usr/libexec/at-spi-bus-launcher
need_x_tools
if ! command -v dbus-daemon >/dev/null || [[ ! -x $LAUNCHER ]] || ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
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
export DBUS_SESSION_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$LAUNCHER" --launch-immediately 2>/dev/null &
track_pid $!
a11y_bus() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress; }
wait_for 10 "the accessibility bus" a11y_bus >/dev/null 2>&1 || fail "at-spi-bus-launcher did not start"
zirk="$(realpath "$1")"
(cd "$2" && exec "$zirk" exemple.dat) &
pid=$!
track_pid "$pid"
wait_window "Zirk pour Windows" 10 "$pid" >/dev/null || fail "the game's window did not show"
/usr/bin/python3 "$(dirname "$0")/screen_reader.py"
wait_exit "$pid" 10 || fail "the close picture pressed from the accessibility interface left the game running"
echo "PASS"
